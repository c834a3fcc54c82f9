#include "map_image.h"

#include <QImage>
#include <QImageReader>

#include "bmp_info.h"
#include "platform_error.h"

namespace quarn {

namespace {

// The toolkit's four-bytes-per-pixel estimate for the largest map, as bmp_image.cpp allows.
constexpr int kMapAllocationLimitMb = 1024;

[[noreturn]] void Refuse(const std::string& fileName, const std::string& why) {
    throw PlatformError(fileName + ": " + why);
}

}  // namespace

RgbImage LoadMapImage(const std::string& fileName) {
    QImageReader::setAllocationLimit(kMapAllocationLimitMb);
    QImageReader reader(QString::fromStdString(fileName));
    if (!reader.canRead())
        Refuse(fileName, reader.error() == QImageReader::FileNotFoundError
                             ? "file not found"
                             : "not an image the program can read");
    const QSize size = reader.size();
    if (size.width() > kMaxMapSide || size.height() > kMaxMapSide)
        Refuse(fileName, std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                             " pixels, larger than 16384 x 16384");
    // One byte a channel, red first: the system's Colour packing on a little-endian machine.
    QImage image = reader.read();
    if (image.isNull())
        Refuse(fileName, reader.errorString().toStdString());
    image.convertTo(QImage::Format_RGBX8888);
    if (image.isNull())
        throw PlatformError("Out of memory");
    RgbImage rgb{image.width(), image.height(), {}};
    rgb.pixels.reserve(static_cast<std::size_t>(rgb.width) * static_cast<std::size_t>(rgb.height));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint8_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, row += 4)
            rgb.pixels.push_back(PackRGB(row[0], row[1], row[2]));
    }
    return rgb;
}

}  // namespace quarn
