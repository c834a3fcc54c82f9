// The system's colour: a 32-bit value with red in bits 0-7, green in bits 8-15, blue in bits
// 16-23 and zero above. Pixel reads, swatches, palette comparisons, the shading and the
// toolkit's conversions all share this one packing, so it lives at the bottom.
#pragma once

#include <cstdint>

namespace quarn {

using Colour = std::uint32_t;

/// (red AND 255) + 256 (green AND 255) + 65536 (blue AND 255).
constexpr Colour PackRGB(std::int32_t red, std::int32_t green, std::int32_t blue) {
    return static_cast<Colour>(red & 255) + static_cast<Colour>(green & 255) * 256u +
           static_cast<Colour>(blue & 255) * 65536u;
}

}  // namespace quarn
