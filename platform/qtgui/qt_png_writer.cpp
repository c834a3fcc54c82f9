#include "qt_png_writer.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstring>
#include <exception>

#include "grey16_image.h"
#include "platform_error.h"

namespace quarn {

namespace {

std::vector<std::uint8_t> PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        throw PlatformError(writer.errorString().toStdString());
    return {bytes.begin(), bytes.end()};
}

// Hands what the toolkit writes to a byte sink. A failure of the sink must not unwind through
// the PNG library's C code: it is kept, the write reported failed, and raised afterwards.
class SinkDevice : public QIODevice {
  public:
    explicit SinkDevice(ByteSink& out) : m_out(out) {}

    void rethrowFault() const {
        if (m_fault)
            std::rethrow_exception(m_fault);
    }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        try {
            m_out.write({reinterpret_cast<const std::uint8_t*>(data), std::size_t(size)});
            return size;
        } catch (...) {
            m_fault = std::current_exception();
            return -1;
        }
    }

  private:
    ByteSink& m_out;
    std::exception_ptr m_fault;
};

class QtPngWriter : public Grey16PngEncoder {
  public:
    std::vector<std::uint8_t> encode(const Grey16Picture& picture) override {
        QImage image(picture.width, picture.height, QImage::Format_Grayscale16);
        if (image.isNull())
            throw PlatformError("Out of memory");
        const auto rowBytes = static_cast<std::size_t>(picture.width) * sizeof(std::uint16_t);
        for (int y = 0; y < picture.height; ++y)
            std::memcpy(image.scanLine(y),
                        picture.samples.data() +
                            static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width),
                        rowBytes);
        image.setText(QString::fromStdString(picture.textKey),
                      QString::fromStdString(picture.textValue));
        return PngBytes(image);
    }
};

}  // namespace

void InstallQtPngWriter() {
    static QtPngWriter writer;
    SetGrey16PngEncoder(&writer);
}

ColourPngImage::ColourPngImage(std::int32_t width, std::int32_t height)
    : m_image(width, height, QImage::Format_RGB888) {
    if (m_image.isNull())
        throw PlatformError("Out of memory");
    m_image.fill(Qt::black);
}

void ColourPngImage::setRows(std::int32_t top, std::span<const Colour> pixels) {
    const auto width = static_cast<std::size_t>(m_image.width());
    for (std::size_t row = 0; row * width < pixels.size(); ++row) {
        std::uint8_t* line = m_image.scanLine(top + static_cast<int>(row));
        for (std::size_t x = 0; x < width; ++x) {
            const Colour c = pixels[row * width + x];
            line[3 * x] = static_cast<std::uint8_t>(c);
            line[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            line[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
}

void ColourPngImage::write(ByteSink& out) const {
    SinkDevice device(out);
    device.open(QIODevice::WriteOnly);
    QImageWriter writer(&device, "png");
    const bool written = writer.write(m_image);
    device.rethrowFault();
    if (!written)
        throw PlatformError(writer.errorString().toStdString());
}

}  // namespace quarn
