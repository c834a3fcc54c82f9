#include "map_raster.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

TEST(ColorToIndex, ExactMatchLowestIndexWinsAlsoThroughTheCache) {
    SwatchColours swatches{};
    swatches.fill(0xFFFFFF);
    swatches[0] = 0x000000;
    swatches[2] = 0x0000FF;
    swatches[7] = 0x0000FF;
    const struct {
        Colour colour;
        std::uint8_t cls;
    } cases[] = {{0x0000FF, 2}, {0x00FF00, kNoClass}, {0x0000FF, 2},        {0x0000FF, 2},
                 {0xFFFFFF, 1}, {0x000000, 0},        {0xFF0000, kNoClass}, {0xFFFFFE, kNoClass}};
    // The cache answers a repeated colour from its last answer or from what it has seen.
    ColourIndexCache cache(swatches);
    for (const auto& c : cases) {
        EXPECT_EQ(Color_To_Index(c.colour, swatches), c.cls) << c.colour;
        EXPECT_EQ(cache.classOf(c.colour), c.cls) << c.colour;
    }
}

}  // namespace
}  // namespace quarn
