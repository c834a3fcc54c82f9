#include "palette.h"

namespace quarn {

PaletteTable Palette{};

Colour PaletteColour(const PaletteEntry& entry) {
    return PackRGB(entry.red, entry.green, entry.blue);
}

std::optional<std::int32_t> FindPaletteIndex(Colour colour, const PaletteTable& palette) {
    for (std::size_t index = 0; index < palette.size(); ++index)
        if (PaletteColour(palette[index]) == colour)
            return static_cast<std::int32_t>(index);
    return std::nullopt;
}

std::array<Colour, kPaletteSize> PanelSwatchColours(const PaletteTable& palette) {
    std::array<Colour, kPaletteSize> colours{};
    for (std::size_t index = 0; index < palette.size(); ++index)
        colours[index] = PaletteColour(palette[index]);
    return colours;
}

}  // namespace quarn
