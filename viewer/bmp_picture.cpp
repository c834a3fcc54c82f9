#include "bmp_picture.h"

#include "atomic_file.h"

namespace quarn {

namespace {

void WriteUint16(BinaryWriter& out, unsigned value) {
    out.writeUint8(static_cast<std::uint8_t>(value & 255));
    out.writeUint8(static_cast<std::uint8_t>((value >> 8) & 255));
}

void WriteUint32(BinaryWriter& out, std::uint32_t value) {
    out.writeInt32(static_cast<std::int32_t>(value));
}

std::uint32_t RowBytes(std::int32_t width) {
    return (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
}

}  // namespace

std::uint64_t Bmp24FileSize(std::int32_t width, std::int32_t height) {
    return 54 + std::uint64_t{RowBytes(width)} * static_cast<std::uint32_t>(height);
}

void WriteBmp24Header(BinaryWriter& out, std::int32_t width, std::int32_t height) {
    const std::uint32_t imageBytes = RowBytes(width) * static_cast<std::uint32_t>(height);
    out.writeText("BM");
    WriteUint32(out, 54 + imageBytes);
    WriteUint32(out, 0);
    WriteUint32(out, 54);
    WriteUint32(out, 40);
    WriteUint32(out, static_cast<std::uint32_t>(width));
    WriteUint32(out, static_cast<std::uint32_t>(height));
    WriteUint16(out, 1);
    WriteUint16(out, 24);
    WriteUint32(out, 0);  // no compression
    WriteUint32(out, imageBytes);
    WriteUint32(out, 2835);  // 72 dots per inch
    WriteUint32(out, 2835);
    WriteUint32(out, 0);
    WriteUint32(out, 0);
}

void WriteBmp24Rows(BinaryWriter& out, const PixelBuffer& band) {
    std::vector<std::uint8_t> line(RowBytes(band.width()), 0);
    for (std::int32_t y = band.height() - 1; y >= 0; --y) {
        for (std::int32_t x = 0; x < band.width(); ++x) {
            const Colour c = band.pixel(x, y);
            const auto at = std::size_t(x) * 3;
            line[at] = static_cast<std::uint8_t>(c >> 16);
            line[at + 1] = static_cast<std::uint8_t>(c >> 8);
            line[at + 2] = static_cast<std::uint8_t>(c);
        }
        out.writeBytes(line);
    }
}

void WriteBmp24(BinaryWriter& out, const PixelBuffer& picture) {
    WriteBmp24Header(out, picture.width(), picture.height());
    WriteBmp24Rows(out, picture);
}

void SavePictureBmp(const PixelBuffer& picture, const std::string& fileName) {
    AtomicFile file(fileName);
    BinaryWriter out(file);
    WriteBmp24(out, picture);
    file.commit();
}

}  // namespace quarn
