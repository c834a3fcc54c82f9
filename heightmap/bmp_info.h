// The header check of a BMP map image and the reading of its colour table.
//
// ReadBMPInfo reads the 14-byte file header and the 40-byte information header field by
// field (little-endian) and answers a check code: 0 accepted, 1 too short or not "BM",
// 3 compressed, 2 more than 16 colours. The tests run in that order. Only on code 0 is the
// colour table read, always from offset 54, into the palette: (pixel data offset - 54) div 4
// entries, at most 16, from index 0 up; a table cut short by the end of the file fills what
// it can and the rest keep their contents. A file shorter than the headers raises "Read
// beyond end of file"; that is the platform's failure, not a check code.
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

/// Checks the BMP read from in, filling header; on code 0 reads its colour table into palette.
std::uint8_t ReadBMPInfo(std::istream& in, BMPHeaderFields& header, PaletteTable& palette);

/// Checks the named file into BMPHeader and Palette; raises the platform's error when the
/// file cannot be opened.
std::uint8_t ReadBMPInfo(const std::string& fileName);

/// The image's number of rows: the height field's size, whichever way the rows are stored.
std::int32_t ImageRowCount(const BMPHeaderFields& header);

}  // namespace quarn
