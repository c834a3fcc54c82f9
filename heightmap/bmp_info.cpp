#include "bmp_info.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <span>

#include "binary_io.h"
#include "platform_error.h"

namespace quarn {

BMPHeaderFields BMPHeader;

namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kStandardHeaderSize = 40;
constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kMaxColours = 16;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

bool IsCoreHeader(const BMPHeaderFields& h) {
    return h.infoHeaderSize == kCoreHeaderSize;
}

// Reads past header bytes that carry nothing the check uses. Like the table, they are taken
// as far as the file holds them: a file ending among them simply has no table.
void SkipHeaderBytes(BinaryReader& in, std::uint64_t count) {
    std::array<std::uint8_t, 256> scratch{};
    while (count > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, scratch.size()));
        if (in.readAvailable(std::span(scratch).first(chunk)) < chunk)
            return;
        count -= chunk;
    }
}

void ReadCoreFields(BinaryReader& in, BMPHeaderFields& h) {
    h.width = in.readUint16();
    h.height = in.readUint16();
    h.planes = in.readUint16();
    h.bitsPerPixel = in.readUint16();
    h.compression = kUncompressed;
    h.imageSize = h.horizontalResolution = h.verticalResolution = h.importantColours = 0;
    h.coloursUsed = 0;
}

void ReadInfoFields(BinaryReader& in, BMPHeaderFields& h) {
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

std::int64_t ColourTableStart(const BMPHeaderFields& h) {
    if (IsCoreHeader(h) || h.infoHeaderSize > kStandardHeaderSize)
        return kFileHeaderSize + h.infoHeaderSize;
    return kFileHeaderSize + kStandardHeaderSize;
}

bool TooManyColours(const BMPHeaderFields& h) {
    // Without colour counts the depth decides: 2 to the power of the bits, above 16 from 5 on.
    if (h.coloursUsed == 0 && h.importantColours == 0)
        return h.bitsPerPixel > 4;
    return h.coloursUsed > kMaxColours;
}

// An entry cut short by the end of the file keeps its remaining bytes.
void ReadColourTable(BinaryReader& in, const BMPHeaderFields& h, PaletteTable& palette) {
    if (h.infoHeaderSize > kStandardHeaderSize)
        SkipHeaderBytes(in, h.infoHeaderSize - kStandardHeaderSize);
    const std::size_t entrySize = IsCoreHeader(h) ? 3 : 4;
    // In 64 bits: an offset near the lowest integer must not wrap around.
    const std::int64_t declared =
        (static_cast<std::int64_t>(h.pixelDataOffset) - ColourTableStart(h)) /
        static_cast<std::int64_t>(entrySize);
    // A padded table would declare more than the palette holds.
    const std::int64_t entries = std::min(declared, kMaxColours);
    for (std::int64_t e = 0; e < entries; ++e) {
        std::array<std::uint8_t, 4> bytes{};
        const std::size_t got = in.readAvailable(std::span(bytes).first(entrySize));
        PaletteEntry& entry = palette[static_cast<std::size_t>(e)];
        std::uint8_t* fields[] = {&entry.blue, &entry.green, &entry.red, &entry.reserved};
        // A whole 3-byte entry leaves the reserved byte 0, as a 4-byte entry of the same map.
        const std::size_t stored = got == entrySize ? bytes.size() : got;
        for (std::size_t i = 0; i < stored; ++i)
            *fields[i] = bytes[i];
    }
}

}  // namespace

void ReadBMPHeaders(std::istream& stream, BMPHeaderFields& h) {
    BinaryReader in(stream);
    in.readBytes(h.signature);
    h.fileSize = in.readUint32();
    h.reserved = in.readUint32();
    h.pixelDataOffset = in.readInt32();
    h.infoHeaderSize = in.readUint32();
    if (IsCoreHeader(h))
        ReadCoreFields(in, h);
    else
        ReadInfoFields(in, h);
}

std::uint8_t ReadBMPInfo(std::istream& stream, BMPHeaderFields& header, PaletteTable& palette) {
    ReadBMPHeaders(stream, header);
    BinaryReader in(stream);
    if (in.atEnd())
        return 1;
    if (header.signature[0] != 'B' || header.signature[1] != 'M')
        return 1;
    if (header.compression != 0)
        return 3;
    if (TooManyColours(header))
        return 2;
    if (header.width > kMaxMapSide || ImageRowCount(header) > kMaxMapSide)
        return kMapTooLarge;
    ReadColourTable(in, header, palette);
    return 0;
}

std::string BMPRefusalText(std::uint8_t code, const BMPHeaderFields& header) {
    if (code != kMapTooLarge)
        return std::string(BMPErrorMessages[code]) + "!";
    const std::string limit = std::to_string(kMaxMapSide);
    return "The map is " + std::to_string(header.width) + " x " +
           std::to_string(ImageRowCount(header)) + " pixels; at most " + limit + " x " + limit +
           " are supported!";
}

std::uint8_t ReadBMPInfo(const std::string& fileName) {
    const auto file = OpenBinaryInput(fileName);
    return ReadBMPInfo(*file, BMPHeader, Palette);
}

bool BmpPixelDataComplete(const BMPHeaderFields& h, std::uint64_t fileSize) {
    const std::int64_t offset = h.pixelDataOffset;
    if (offset <= 0 || static_cast<std::uint64_t>(offset) > fileSize)
        return false;
    if (h.compression != kUncompressed && h.compression != kBitFields)
        return true;
    const auto width = static_cast<std::uint64_t>(std::max(h.width, 0));
    const std::uint64_t stride = (width * h.bitsPerPixel + 31) / 32 * 4;
    const auto rows = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(h.height)));
    // Divided rather than multiplied: rows times stride can pass 64 bits.
    return stride == 0 || rows <= (fileSize - static_cast<std::uint64_t>(offset)) / stride;
}

std::int32_t ImageRowCount(const BMPHeaderFields& header) {
    if (header.height == std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::max();
    return std::abs(header.height);
}

}  // namespace quarn
