#include "bmp_info.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <limits>

#include "binary_io.h"
#include "platform_error.h"

namespace quarn {

BMPHeaderFields BMPHeader;

namespace {

constexpr std::int32_t kColourTableOffset = 54;
constexpr std::int32_t kMaxColours = 16;

void ReadHeaderFields(BinaryReader& in, BMPHeaderFields& h) {
    in.readBytes(h.signature);
    h.fileSize = in.readUint32();
    h.reserved = in.readUint32();
    h.pixelDataOffset = in.readInt32();
    h.infoHeaderSize = in.readUint32();
    h.width = in.readInt32();
    h.height = in.readInt32();
    h.planes = in.readUint16();
    h.bitsPerPixel = in.readUint16();
    h.compression = in.readUint32();
    h.imageSize = in.readUint32();
    h.horizontalResolution = in.readUint32();
    h.verticalResolution = in.readUint32();
    h.coloursUsed = in.readInt32();
    h.importantColours = in.readUint32();
}

bool TooManyColours(const BMPHeaderFields& h) {
    // Without colour counts the depth decides: 2 to the power of the bits, above 16 from 5 on.
    if (h.coloursUsed == 0 && h.importantColours == 0)
        return h.bitsPerPixel > 4;
    return h.coloursUsed > kMaxColours;
}

// An entry cut short by the end of the file keeps its remaining bytes.
void ReadColourTable(BinaryReader& in, std::int32_t pixelDataOffset, PaletteTable& palette) {
    // In 64 bits: an offset near the lowest integer must not wrap around.
    const std::int64_t declared =
        (static_cast<std::int64_t>(pixelDataOffset) - kColourTableOffset) / 4;
    // A padded table, or a longer information header, would declare more than the palette holds.
    const std::int64_t entries = std::min<std::int64_t>(declared, kMaxColours);
    for (std::int64_t e = 0; e < entries; ++e) {
        std::array<std::uint8_t, 4> bytes{};
        const std::size_t got = in.readAvailable(bytes);
        PaletteEntry& entry = palette[static_cast<std::size_t>(e)];
        std::uint8_t* fields[] = {&entry.blue, &entry.green, &entry.red, &entry.reserved};
        for (std::size_t i = 0; i < got; ++i)
            *fields[i] = bytes[i];
    }
}

}  // namespace

std::uint8_t ReadBMPInfo(std::istream& stream, BMPHeaderFields& header, PaletteTable& palette) {
    BinaryReader in(stream);
    ReadHeaderFields(in, header);
    if (in.atEnd())
        return 1;
    if (header.signature[0] != 'B' || header.signature[1] != 'M')
        return 1;
    if (header.compression != 0)
        return 3;
    if (TooManyColours(header))
        return 2;
    ReadColourTable(in, header.pixelDataOffset, palette);
    return 0;
}

std::uint8_t ReadBMPInfo(const std::string& fileName) {
    const auto file = OpenBinaryInput(fileName);
    return ReadBMPInfo(*file, BMPHeader, Palette);
}

std::int32_t ImageRowCount(const BMPHeaderFields& header) {
    if (header.height == std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::max();
    return std::abs(header.height);
}

}  // namespace quarn
