// BMP files built in memory for the heightmap tests: a header whose every field can be set,
// an information header of any size laid out as editors write it, an optional colour table,
// and 4-bit pixel rows that the toolkit's loader can decode.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quarn::testing {

struct TestBmp {
    std::array<char, 2> signature{'B', 'M'};
    std::int32_t pixelDataOffset = 118;
    /// 40 standard; 12 the core header (16-bit fields, 3-byte entries); above 40 the standard
    /// fields, then masks, colour space "sRGB" and zeros (rendering intent 4 from 124 on).
    std::uint32_t infoHeaderSize = 40;
    std::int32_t width = 4;
    std::int32_t height = 2;
    std::uint16_t bitsPerPixel = 4;
    std::uint32_t compression = 0;
    std::int32_t coloursUsed = 0;
    std::uint32_t importantColours = 0;
    /// Colour-table entries as (blue, green, red, reserved) byte quadruples.
    std::vector<std::array<std::uint8_t, 4>> colourTable{};
    /// Bytes after the colour table (pixel rows, padding).
    std::vector<std::uint8_t> tail{};

    /// The whole file: the headers, the table, then tail.
    std::vector<std::uint8_t> bytes() const;
};

/// Sixteen distinct map colours (0xRRGGBB); red and blue differ in all but white, so a
/// byte-order fault shows.
inline constexpr std::array<std::uint32_t, 16> kMapRgb{
    0x0000FF, 0x1020F0, 0x203040, 0x00A000, 0x506070, 0x607080, 0x708090, 0x8090A0,
    0x90A0B0, 0xA0B0C0, 0xB0C0D0, 0xC0D0E0, 0xD0E0F0, 0xE0F010, 0xF01020, 0xFFFFFF};

/// A loadable 4-bit image: pixel (x, y), y counted from the top, shows entry indexOf(x, y) of
/// the 16 colours (each 0xRRGGBB). topDown stores the rows top first (negative height).
TestBmp FourBitImage(std::int32_t width, std::int32_t height,
                     const std::array<std::uint32_t, 16>& rgb,
                     const std::function<std::uint8_t(std::int32_t, std::int32_t)>& indexOf,
                     bool topDown = false);

/// bmp with an information header of size bytes, its pixel data right after the table.
TestBmp WithInfoHeader(TestBmp bmp, std::uint32_t size);

}  // namespace quarn::testing
