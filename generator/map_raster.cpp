#include "map_raster.h"

namespace quarn {

std::uint8_t Color_To_Index(Colour colour, const SwatchColours& swatches) {
    for (std::size_t e = 0; e < swatches.size(); ++e)
        if (swatches[e] == colour)
            return static_cast<std::uint8_t>(e);
    return kNoClass;
}

}  // namespace quarn
