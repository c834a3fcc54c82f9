#include "bmp_image.h"

#include <QFile>
#include <QImageReader>
#include <istream>
#include <streambuf>

#include "bmp_info.h"
#include "platform_error.h"

namespace quarn {

namespace {

// Reads the loaded bytes in place, without a copy.
class ByteView : public std::streambuf {
  public:
    explicit ByteView(QByteArray& bytes) {
        setg(bytes.data(), bytes.data(), bytes.data() + bytes.size());
    }
};

// The decoder would fill pixel rows that the file lacks with colour 0.
bool PixelDataPresent(QByteArray& bytes) {
    ByteView view(bytes);
    std::istream in(&view);
    BMPHeaderFields header;
    try {
        ReadBMPHeaders(in, header);
    } catch (const PlatformError&) {
        return false;  // ends inside its headers
    }
    return BmpPixelDataComplete(header, static_cast<std::uint64_t>(bytes.size()));
}

// The toolkit refuses images whose 32-bit form would pass its allocation limit (128 MB by
// default, about 5800 x 5800 pixels). A 16-colour map is decoded as 8-bit indexed pixels, one
// byte each, so a 16384 x 16384 map takes 256 MB; the limit is raised to the 1024 MB that the
// toolkit's four-bytes-per-pixel estimate asks for such a map, and no further.
constexpr int kMapAllocationLimitMb = 1024;

}  // namespace

QImage LoadBmpImage(const std::string& fileName) {
    QFile file(QString::fromStdString(fileName));
    QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QImageReader::setAllocationLimit(kMapAllocationLimitMb);
    QImage image;
    if (!PixelDataPresent(bytes) || !image.loadFromData(bytes, "BMP"))
        throw PlatformError("Bitmap image is not valid");
    return image;
}

}  // namespace quarn
