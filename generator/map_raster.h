// The map image as the writers see it: one palette class per pixel.
//
// A pixel's class is the palette index whose swatch shows its colour, or kNoClass when no
// swatch does. The toolkit side decodes the image and classifies each distinct colour once
// (ColourIndexCache); the writers then only count classes.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "shading.h"

namespace quarn {

/// The 16 swatch colours of the generator panel, by palette index.
using SwatchColours = std::array<Colour, 16>;

/// The class of a pixel whose colour matches no swatch.
inline constexpr std::uint8_t kNoClass = 16;

struct ClassifiedRaster {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> classes;  // row after row from the top, width * height entries
    // Whether the writers sample the smooth surface between the bands (smooth_surface.h)
    // instead of each class's own height.
    bool smooth = false;

    std::uint8_t at(std::int32_t x, std::int32_t y) const {
        return classes[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)];
    }
};

/// The lowest palette index whose swatch equals colour exactly (as a map click picks it), or
/// kNoClass.
std::uint8_t Color_To_Index(Colour colour, const SwatchColours& swatches);

/// Color_To_Index remembered per distinct colour, for classifying whole images.
class ColourIndexCache {
  public:
    explicit ColourIndexCache(const SwatchColours& swatches) : m_swatches(swatches) {}

    std::uint8_t classOf(Colour colour) {
        if (colour == m_lastColour && m_hasLast)
            return m_lastClass;
        const auto found = m_known.find(colour);
        m_lastClass =
            found != m_known.end()
                ? found->second
                : m_known.emplace(colour, Color_To_Index(colour, m_swatches)).first->second;
        m_lastColour = colour;
        m_hasLast = true;
        return m_lastClass;
    }

  private:
    SwatchColours m_swatches;
    std::unordered_map<Colour, std::uint8_t> m_known;
    Colour m_lastColour = 0;
    std::uint8_t m_lastClass = kNoClass;
    bool m_hasLast = false;
};

}  // namespace quarn
