// The 16-colour BMP that the rest of the system reads as a map: rows bottom-up, two pixels a
// byte (the left one in the high half), each row padded to four bytes.
#include <array>

#include "map_import.h"

namespace quarn {

namespace {

constexpr std::int32_t kHeadersSize = 14 + 40 + 4 * kMaxBands;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void WriteUint16(BinaryWriter& out, std::uint16_t value) {
    out.writeUint8(static_cast<std::uint8_t>(value));
    out.writeUint8(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

void WriteBandBmp(BinaryWriter& out, const BandMap& map) {
    const auto width = static_cast<std::size_t>(map.width);
    const std::size_t rowBytes = (width + 7) / 8 * 4;
    const std::size_t pixelBytes = rowBytes * static_cast<std::size_t>(map.height);
    out.writeText("BM");
    out.writeInt32(static_cast<std::int32_t>(kHeadersSize + pixelBytes));
    out.writeInt32(0);
    out.writeInt32(kHeadersSize);
    out.writeInt32(40);
    out.writeInt32(map.width);
    out.writeInt32(map.height);
    WriteUint16(out, 1);  // planes
    WriteUint16(out, 4);  // bits per pixel
    out.writeInt32(0);    // uncompressed
    out.writeInt32(static_cast<std::int32_t>(pixelBytes));
    out.writeInt32(kPixelsPerMetre);
    out.writeInt32(kPixelsPerMetre);
    out.writeInt32(kMaxBands);
    out.writeInt32(0);
    for (std::size_t i = 0; i < kMaxBands; ++i) {
        const Colour colour = i < map.palette.size() ? map.palette[i] : 0;
        const std::array<std::uint8_t, 4> entry{static_cast<std::uint8_t>(colour >> 16),
                                                static_cast<std::uint8_t>(colour >> 8),
                                                static_cast<std::uint8_t>(colour), 0};
        out.writeBytes(entry);
    }
    std::vector<std::uint8_t> row(rowBytes);
    for (std::size_t y = static_cast<std::size_t>(map.height); y-- > 0;) {
        std::fill(row.begin(), row.end(), std::uint8_t{0});
        const std::uint8_t* indices = map.indices.data() + y * width;
        for (std::size_t x = 0; x < width; ++x)
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? indices[x] << 4 : indices[x]);
        out.writeBytes(row);
    }
}

}  // namespace quarn
