#include "smooth_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Bands 10 pixels wide across the map: a ramp meeting each boundary at the middle height. The
// outer bands are cut off by the map's edge, not summits or pits, so the ramp goes straight on.
TEST(SmoothSurface, StripesCutByTheEdgeRampStraightAcrossTheMap) {
    ClassifiedRaster raster = UniformRaster(30, 4, 0);
    Paint(raster, 10, 0, 10, 4, 1);
    Paint(raster, 20, 0, 10, 4, 2);
    const std::vector<float> h = SmoothSurface(raster, ThreeBands(0, 1, 2));
    for (std::int32_t y = 0; y < 4; ++y)
        for (std::int32_t x = 0; x < 30; ++x)
            EXPECT_NEAR(At(h, raster, x, y), 0.5f + (float(x) - 9.5f) / 10, 1e-5f) << x;
    // Two bands alone, as wide: one straight ramp from one band's height to the other's.
    Paint(raster, 0, 0, 15, 4, 0);
    Paint(raster, 15, 0, 15, 4, 1);
    const std::vector<float> two = SmoothSurface(raster, ThreeBands(0, 1, 2));
    for (std::int32_t x = 0; x < 30; ++x)
        EXPECT_NEAR(At(two, raster, x, 2), 0.5f + (float(x) - 14.5f) / 29, 1e-5f) << x;
}

// A steep band 4 pixels wide beside a gentle one 20 wide: at their boundary the surface takes
// a slope between the two ramps' instead of kinking from one to the other, and each band
// still meets its boundaries at the middle heights and rises throughout (the steep ramp's
// outer band, cut off by the edge, levels off at its own height).
TEST(SmoothSurface, BandsBendIntoTheirNeighboursRamps) {
    ClassifiedRaster raster = UniformRaster(44, 3, 0);
    Paint(raster, 10, 0, 4, 3, 1);
    Paint(raster, 14, 0, 20, 3, 2);
    Paint(raster, 34, 0, 10, 3, 3);
    NormalisedLevels levels = ThreeBands(0, 1, 2);
    levels.norm[3] = 3, levels.set[3] = true;
    const std::vector<float> h = SmoothSurface(raster, levels);
    EXPECT_NEAR((At(h, raster, 13, 1) + At(h, raster, 14, 1)) / 2, 1.5f, 0.02f);
    EXPECT_NEAR((At(h, raster, 33, 1) + At(h, raster, 34, 1)) / 2, 2.5f, 0.02f);
    const float across = At(h, raster, 14, 1) - At(h, raster, 13, 1);
    EXPECT_GT(across, 0.08f);  // the gentle ramp's slope is 0.05, the steep one's 0.25
    EXPECT_LT(across, 0.2f);
    for (std::int32_t x = 7; x < 44; ++x)
        EXPECT_GT(At(h, raster, x, 1), At(h, raster, x - 1, 1)) << x;
    EXPECT_EQ(At(h, raster, 0, 1), 0.0f);
}

// Rings of bands 0, 1, 2 around the centre, heights rising inwards (a cone-shaped summit) or
// falling (a pit): the centre goes on with the ring's slope and levels off at the innermost
// band's height, half a band beyond its boundary, and not beyond.
TEST(SmoothSurface, SummitsAndPitsGoOnBeyondTheInnermostBandAtMostHalfABand) {
    for (float sign : {1.0f, -1.0f}) {
        ClassifiedRaster raster = UniformRaster(41, 41, 0);
        for (std::int32_t y = 0; y < 41; ++y)
            for (std::int32_t x = 0; x < 41; ++x) {
                const int r2 = (x - 20) * (x - 20) + (y - 20) * (y - 20);
                raster.classes[std::size_t(y * 41 + x)] = r2 <= 36 ? 2 : r2 <= 144 ? 1 : 0;
            }
        const std::vector<float> h = SmoothSurface(raster, ThreeBands(0, sign, 2 * sign));
        EXPECT_GE(sign * At(h, raster, 20, 20), 1.9f) << sign;
        for (float v : h)
            EXPECT_LE(sign * v, 2.0f + 1e-5f) << sign;
        for (std::int32_t x = 21; x < 33; ++x)
            EXPECT_LT(sign * At(h, raster, x, 20), sign * At(h, raster, x - 1, 20)) << x;
    }
}

// A hill on a slope, cut into 16 bands with each colour at its band's middle: the smooth
// surface stays close to the landscape, and nearer than the terraces along the map's edge.
TEST(SmoothSurface, RestoresASmoothLandscapeFromItsBands) {
    constexpr std::int32_t side = 96;
    std::vector<double> z;
    ClassifiedRaster raster{side, side, {}};
    for (std::int32_t y = 0; y < side; ++y)
        for (std::int32_t x = 0; x < side; ++x) {
            const double u = (x + 0.5) / side - 0.4, v = (y + 0.5) / side - 0.55;
            z.push_back(0.5 + 11 * std::exp(-(u * u + v * v) / 0.06) + 4 * (x + 0.5) / side);
            raster.classes.push_back(static_cast<std::uint8_t>(z.back()));
        }
    NormalisedLevels levels;
    for (std::size_t b = 0; b < 16; ++b)
        levels.norm[b] = float(b) + 0.5f, levels.set[b] = true;
    const std::vector<float> h = SmoothSurface(raster, levels);
    double smooth = 0, smoothEdge = 0, terracedEdge = 0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        smooth += (h[i] - z[i]) * (h[i] - z[i]);
        const std::int32_t x = std::int32_t(i) % side, y = std::int32_t(i) / side;
        if (std::min({x, y, side - 1 - x, side - 1 - y}) < 5) {
            smoothEdge += (h[i] - z[i]) * (h[i] - z[i]);
            terracedEdge += (raster.classes[i] + 0.5 - z[i]) * (raster.classes[i] + 0.5 - z[i]);
        }
    }
    EXPECT_LT(std::sqrt(smooth / double(z.size())), 0.15);  // terraced: about 0.29
    EXPECT_LT(smoothEdge, terracedEdge);
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
