// The header check of a BMP map image and the reading of its colour table.
//
// ReadBMPInfo reads the 14-byte file header and the information header field by field
// (little-endian) and answers a check code: 0 accepted, 1 too short or not "BM", 3 compressed,
// 2 more than 16 colours, 5 more than 16384 pixels across or down. The tests run in that order.
// Only on code 0 is the colour table read into the palette: (pixel data offset - table start) div
// entry size entries, at most 16, from index 0 up; a table cut short by the end of the file fills
// what it can and the rest keep their contents. A file that ends inside its headers raises "Read
// beyond end of file"; that is the platform's failure, not a check code.
//
// The information header's size says where the table starts and how its entries look:
// - 40 bytes, the standard header: table at 54, entries of 4 bytes (blue, green, red,
//   reserved).
// - 12 bytes, the OS/2 core header (width, height, planes and bit count as 16-bit fields):
//   table at 26, entries of 3 bytes (blue, green, red; a whole entry clears the reserved
//   byte). It has no compression or colour counts: uncompressed, both counts 0.
// - above 40 (108 and 124 as editors write them, 64 for OS/2 2.x): the standard 40 bytes are
//   read as fields and tested as above (so any 54-byte file is still code 1); on code 0 the
//   rest (masks, colour space, intent...) is read past as far as the file holds it, and the
//   table read from 14 + size, entries of 4 bytes.
// - any other size is read as a standard header: table at 54.
//
// BmpPixelDataComplete tells, from the headers alone, whether a file holds the pixel rows
// they promise; the toolkit's decoder would fill missing rows with colour 0.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

#include "palette.h"

namespace quarn {

/// The header fields of a BMP file, in file order, exactly as read.
struct BMPHeaderFields {
    std::array<std::uint8_t, 2> signature{};
    std::uint32_t fileSize = 0;
    std::uint32_t reserved = 0;
    std::int32_t pixelDataOffset = 0;
    std::uint32_t infoHeaderSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative for an image stored top row first
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t horizontalResolution = 0;
    std::uint32_t verticalResolution = 0;
    std::int32_t coloursUsed = 0;
    std::uint32_t importantColours = 0;
};

/// The headers of the last file examined, whatever its code.
extern BMPHeaderFields BMPHeader;

/// Refusal texts by check code (index 0, acceptance, has none); the error box appends "!".
inline constexpr std::array<std::string_view, 5> BMPErrorMessages{
    "", "File corrupted or not BMP", "Only 4-bit (16 color) BMP images supported",
    "Unknown file compression", "Unknown palette type"};

/// The most pixels a map may have across and down.
inline constexpr std::int32_t kMaxMapSide = 16384;

/// The check code of a map larger than kMaxMapSide either way.
inline constexpr std::uint8_t kMapTooLarge = 5;

/// The error box's text for a refusing check code: its message and "!", or for kMapTooLarge
/// the map's size and the limit.
std::string BMPRefusalText(std::uint8_t code, const BMPHeaderFields& header);

/// Checks the BMP read from in, filling header; on code 0 reads its colour table into palette.
std::uint8_t ReadBMPInfo(std::istream& in, BMPHeaderFields& header, PaletteTable& palette);

/// Checks the named file into BMPHeader and Palette; raises the platform's error when the
/// file cannot be opened.
std::uint8_t ReadBMPInfo(const std::string& fileName);

/// Reads the headers of in into header, without tests or colour table; raises "Read beyond
/// end of file" when in ends inside them.
void ReadBMPHeaders(std::istream& in, BMPHeaderFields& header);

/// False when the pixel data offset is not inside a file of fileSize bytes, or uncompressed
/// rows run past its end; run-length data cannot be sized here and passes.
bool BmpPixelDataComplete(const BMPHeaderFields& header, std::uint64_t fileSize);

/// The image's number of rows: the height field's size, whichever way the rows are stored.
std::int32_t ImageRowCount(const BMPHeaderFields& header);

}  // namespace quarn
