#include "smooth_surface.h"

#include <gtest/gtest.h>

#include <cmath>

#include "generator_test_support.h"

namespace quarn {
namespace {

using testing::Paint;
using testing::UniformRaster;

// Classes 0, 1, 2 at the given heights, no other class set.
NormalisedLevels ThreeBands(float h0, float h1, float h2) {
    NormalisedLevels levels;
    levels.norm[0] = h0, levels.norm[1] = h1, levels.norm[2] = h2;
    levels.set[0] = levels.set[1] = levels.set[2] = true;
    levels.meanOfSet = (h0 + h1 + h2) / 3;
    return levels;
}

float At(const std::vector<float>& h, const ClassifiedRaster& r, std::int32_t x, std::int32_t y) {
    return h[static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width) +
             static_cast<std::size_t>(x)];
}

TEST(SmoothSurface, OneBandIsFlatAtItsHeight) {
    const ClassifiedRaster raster = UniformRaster(9, 7, 1);
    for (float h : SmoothSurface(raster, ThreeBands(0, 0.2f, 1)))
        EXPECT_EQ(h, 0.2f);
}

// Bands 10 pixels wide across the map: a ramp meeting each boundary at the middle height; the
// outer bands (a pit and a summit) go on with the ramp's slope and level off.
TEST(SmoothSurface, StripesRampStraightAcrossTheirBoundaries) {
    ClassifiedRaster raster = UniformRaster(30, 4, 0);
    Paint(raster, 10, 0, 10, 4, 1);
    Paint(raster, 20, 0, 10, 4, 2);
    const std::vector<float> h = SmoothSurface(raster, ThreeBands(0, 1, 2));
    for (std::int32_t y = 0; y < 4; ++y) {
        EXPECT_NEAR((At(h, raster, 9, y) + At(h, raster, 10, y)) / 2, 0.5f, 0.005f);
        EXPECT_NEAR((At(h, raster, 19, y) + At(h, raster, 20, y)) / 2, 1.5f, 0.005f);
        for (std::int32_t x = 10; x < 20; ++x)  // the middle band: linear between boundaries
            EXPECT_NEAR(At(h, raster, x, y), 0.5f + (float(x) - 9.5f) / 10, 1e-5f) << x;
        for (std::int32_t x = 1; x < 30; ++x) {
            const float step = At(h, raster, x, y) - At(h, raster, x - 1, y);
            EXPECT_GT(step, x >= 10 && x <= 20 ? 0.09f : 0.0f) << x;
            EXPECT_LT(step, 0.11f) << x;
        }
        EXPECT_GE(At(h, raster, 0, y), -0.5f);
        EXPECT_LE(At(h, raster, 29, y), 2.5f);
    }
}

// Rings of bands 0, 1, 2 around the centre, heights rising inwards (a summit) or falling (a
// pit): the centre reaches the innermost band's height and at most half a band beyond it,
// strictly monotonic outward.
TEST(SmoothSurface, SummitsAndPitsGoOnBeyondTheInnermostBandAtMostHalfABand) {
    for (float sign : {1.0f, -1.0f}) {
        ClassifiedRaster raster = UniformRaster(41, 41, 0);
        for (std::int32_t y = 0; y < 41; ++y)
            for (std::int32_t x = 0; x < 41; ++x) {
                const int r2 = (x - 20) * (x - 20) + (y - 20) * (y - 20);
                raster.classes[std::size_t(y * 41 + x)] = r2 <= 36 ? 2 : r2 <= 144 ? 1 : 0;
            }
        const std::vector<float> h = SmoothSurface(raster, ThreeBands(0, sign, 2 * sign));
        EXPECT_GE(sign * At(h, raster, 20, 20), 2.0f) << sign;
        EXPECT_LE(sign * At(h, raster, 20, 20), 2.5f + 1e-5f) << sign;
        for (std::int32_t x = 21; x < 41; ++x)
            EXPECT_LT(sign * At(h, raster, x, 20), sign * At(h, raster, x - 1, 20)) << x;
    }
}

TEST(SmoothSurface, PixelsWithoutHeightAreFilledFromAround) {
    ClassifiedRaster raster = UniformRaster(20, 6, 0);
    Paint(raster, 10, 0, 10, 6, 1);
    Paint(raster, 8, 2, 4, 2, 7);          // a colour without height
    Paint(raster, 0, 5, 20, 1, kNoClass);  // a colour of no swatch
    const std::vector<float> h = SmoothSurface(raster, ThreeBands(0, 1, 2));
    for (float v : h) {
        EXPECT_FALSE(std::isnan(v));
        EXPECT_GE(v, -0.5f);
        EXPECT_LE(v, 1.5f);
    }
    EXPECT_EQ(At(h, raster, 3, 5), At(h, raster, 3, 4));
    // Nothing with a height on the map: the mean of the set heights.
    for (float v : SmoothSurface(UniformRaster(3, 3, 7), ThreeBands(0, 1, 2)))
        EXPECT_EQ(v, 1.0f);
}

}  // namespace
}  // namespace quarn
