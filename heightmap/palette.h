// The map's colour table: 16 entries, index 0 to 15, each one height band.
//
// An entry holds the bytes of a BMP colour-table entry in file order (blue, green, red,
// reserved). Its Colour packs red into the low byte, green into the middle byte and blue into
// the third, the form in which pixels are read and swatches painted. The program's Palette is
// all zero (black) at start; an image overwrites only the entries it supplies.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "shading.h"

namespace quarn {

struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;

    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

inline constexpr std::size_t kPaletteSize = 16;
using PaletteTable = std::array<PaletteEntry, kPaletteSize>;

/// The colour table of the last accepted map image.
extern PaletteTable Palette;

/// The entry as a Colour (red in the low byte, blue in the third, top byte 0).
Colour PaletteColour(const PaletteEntry& entry);

/// The lowest index whose Colour equals colour, or nothing when no entry does.
std::optional<std::int32_t> FindPaletteIndex(Colour colour, const PaletteTable& palette);

/// Every entry's Colour by index: what the panel's swatches show and the generator classifies
/// the map's pixels by.
std::array<Colour, kPaletteSize> PanelSwatchColours(const PaletteTable& palette);

}  // namespace quarn
