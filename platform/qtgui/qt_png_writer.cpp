#include "qt_png_writer.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstring>

#include "grey16_image.h"
#include "platform_error.h"
#include "qt_colour.h"

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

std::vector<std::uint8_t> EncodeColourPng(std::int32_t width, std::int32_t height,
                                          std::span<const Colour> pixels) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw PlatformError("Out of memory");
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const Colour* row = pixels.data() + static_cast<std::size_t>(y) * std::size_t(width);
        for (int x = 0; x < width; ++x)
            line[x] = RgbOf(row[x]);
    }
    return PngBytes(image);
}

}  // namespace quarn
