#include "bmp_image.h"

#include <QFile>
#include <QImageReader>
#include <istream>
#include <new>
#include <optional>
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

// The headers, when the file holds them and all the pixel rows they promise: the decoder would
// fill rows that the file lacks with colour 0.
std::optional<BMPHeaderFields> CompleteHeaders(QByteArray& bytes) {
    ByteView view(bytes);
    std::istream in(&view);
    BMPHeaderFields header;
    try {
        ReadBMPHeaders(in, header);
    } catch (const PlatformError&) {
        return std::nullopt;  // ends inside its headers
    }
    if (!BmpPixelDataComplete(header, static_cast<std::uint64_t>(bytes.size())))
        return std::nullopt;
    return header;
}

// True when not even the 8-bit picture of a map of the supported size could be had now: the
// decoder's failure was for want of memory, not the file's fault.
bool NoMemoryForPicture(const BMPHeaderFields& header) {
    const std::int32_t rows = ImageRowCount(header);
    if (header.width < 1 || header.width > kMaxMapSide || rows < 1 || rows > kMaxMapSide)
        return false;
    return QImage(header.width, rows, QImage::Format_Indexed8).isNull();
}

// The toolkit refuses images whose 32-bit form would pass its allocation limit (128 MB by
// default, about 5800 x 5800 pixels). A 16-colour map is decoded as 8-bit indexed pixels, one
// byte each, so a 16384 x 16384 map takes 256 MB; the limit is raised to the 1024 MB that the
// toolkit's four-bytes-per-pixel estimate asks for such a map, and no further.
constexpr int kMapAllocationLimitMb = 1024;

QImage Decode(const std::string& fileName) {
    QFile file(QString::fromStdString(fileName));
    QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QImageReader::setAllocationLimit(kMapAllocationLimitMb);
    QImage image;
    const auto header = CompleteHeaders(bytes);
    if (header && image.loadFromData(bytes, "BMP"))
        return image;
    if (header && NoMemoryForPicture(*header))
        throw PlatformError("Out of memory");
    throw PlatformError("Bitmap image is not valid");
}

}  // namespace

QImage LoadBmpImage(const std::string& fileName) {
    try {
        return Decode(fileName);
    } catch (const std::bad_alloc&) {
        throw PlatformError("Out of memory");  // the file's bytes or the reader's own needs
    }
}

}  // namespace quarn
