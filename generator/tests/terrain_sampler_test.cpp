#include "terrain_sampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "fault_text.h"
#include "generator_test_support.h"
#include "smooth_surface.h"

namespace quarn {
namespace {

using testing::FaultText;
using testing::Fields;
using testing::Paint;
using testing::SampleOnGrid;
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

TEST(TriangleColor, FirstTestThatHoldsDecides) {
    const std::pair<float, std::int32_t> cases[] = {{-1.0f, 216}, {0.1f, 216}, {0.15f, 120},
                                                    {0.2f, 120},  {0.25f, 24}, {0.3f, 32767},
                                                    {5.0f, 32767}};
    for (const auto& [mean, code] : cases)
        EXPECT_EQ(Triangle_Color(mean, 0.1f, 0.2f, 0.3f), code) << mean;
}

TEST(SampleTerrain, WorkedCellOfThreeColoursGivesPointOneThreeSevenFive) {
    GeneratorFields f = Fields("0", "500", "900", "1000", "1000", "100");
    f.heights[2] = "100";
    f.heights[5] = "200";
    ClassifiedRaster raster = UniformRaster(100, 100, 2);
    Paint(raster, 0, 0, 10, 5, 2);         // 50 pixels
    Paint(raster, 0, 5, 10, 3, 5);         // 30 pixels
    Paint(raster, 0, 8, 10, 1, 7);         // 10 pixels without height
    Paint(raster, 0, 9, 10, 1, kNoClass);  // 10 pixels of no swatch colour
    const TerrainMesh mesh = SampleOnGrid(f, raster);
    ASSERT_EQ(mesh.vertices.size(), 100u);
    // (50 x 0.1 + 30 x 0.2) / the 80 pixels with a height.
    EXPECT_FLOAT_EQ(mesh.vertices[0].h, 0.1375f);
    EXPECT_FLOAT_EQ(mesh.fileVertex(0).z, 0.34375f);
    EXPECT_EQ(mesh.vertices[1].h, 0.1f);
}

// Bands of rows are sampled on several threads: a cell without height still takes the cell
// written before it, across the seams between bands, and nothing else changes.
TEST(SampleTerrain, CellsWithoutHeightsRepeatThePreviousCellAcrossThreadBands) {
    GeneratorFields f = Fields("0", "500", "900", "1200", "1200", "4");
    f.heights[2] = "100";
    f.heights[5] = "300";
    ClassifiedRaster raster = UniformRaster(12, 1200, 7);  // 3 x 300 cells of 4 pixels
    Paint(raster, 4, 0, 4, 4, 2);                          // cell (0, 1)
    Paint(raster, 8, 4 * 250, 4, 4, 5);                    // cell (250, 2)
    const TerrainMesh mesh = SampleOnGrid(f, raster);
    ASSERT_EQ(mesh.vertices.size(), 900u);
    const NormalisedLevels& l = mesh.levels;
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k)
        ASSERT_EQ(mesh.vertices[k].h, k == 0 ? l.meanOfSet : k < 752 ? l.norm[2] : l.norm[5]) << k;
}

// Mend: a huge height on a big cell was written as z = inf.
TEST(SampleTerrain, HeightsBeyondTheFloatRangeAreAnOverflowNeverAnInfinity) {
    GeneratorFields f = Fields("0", "1", "2", "20", "20", "10");
    f.heights[0] = "3e38";  // 1.5e37 for each of a cell's 100 pixels
    EXPECT_EQ(FaultText([&] { SampleOnGrid(f, UniformRaster(20, 20, 0)); }),
              "Floating point overflow");
    f = Fields("0", "1", "2", "2", "2", "1");
    f.heights[0] = "3e38";  // one-pixel cells of 1.5e38 fit; z = 2.5 h does not
    const TerrainMesh mesh = SampleOnGrid(f, UniformRaster(2, 2, 0));
    EXPECT_EQ(FaultText([&] { mesh.fileVertex(0); }), "Floating point overflow");
}

TEST(SampleTerrain, RemainderStripsAreNeverRead) {
    GeneratorFields f = Fields("0", "500", "900", "1050", "980", "100");
    f.heights[2] = "100";
    f.heights[5] = "900";
    ClassifiedRaster plain = UniformRaster(105, 98, 2);
    ClassifiedRaster marked = plain;
    Paint(marked, 100, 0, 5, 98, 5);
    Paint(marked, 0, 90, 105, 8, 5);
    const TerrainMesh a = SampleOnGrid(f, plain);
    const TerrainMesh b = SampleOnGrid(f, marked);
    ASSERT_EQ(a.cols, 10);
    ASSERT_EQ(a.rows, 9);
    for (std::size_t k = 0; k < a.vertices.size(); ++k)
        EXPECT_EQ(a.vertices[k].h, b.vertices[k].h);
}

// The smooth heights come in bands of map rows: each cell is still the mean of its pixels'
// smooth heights summed row after row in double, across the seams between bands of rows (at
// 256 and 512 here), the rows and columns past the last whole cell left out, Water the floor.
TEST(SampleTerrain, SmoothCellsAreTheMeansOfTheirPixelsAcrossBandsOfRows) {
    const GeneratorFields f = [] {
        GeneratorFields fields = Fields("150", "500", "900", "47", "600", "7");
        fields.heights[2] = "100", fields.heights[5] = "300", fields.heights[6] = "200";
        return fields;
    }();
    ClassifiedRaster raster = UniformRaster(47, 600, 2);  // 6 x 85 cells of 7 pixels
    Paint(raster, 10, 100, 20, 300, 5);
    Paint(raster, 15, 200, 6, 100, 6);
    Paint(raster, 0, 500, 47, 30, 7);  // without height
    raster.smooth = true;
    const TerrainMesh mesh = SampleOnGrid(f, raster);
    GridSetup setup;
    ASSERT_TRUE(Set_Grid(f, 47, 600, setup));
    const NormalisedLevels levels = *NormaliseLevels(setup);
    const std::vector<float> surface = SmoothSurface(raster, levels);
    ASSERT_EQ(mesh.cols, 6);
    ASSERT_EQ(mesh.rows, 85);
    bool floored = false;
    for (std::size_t i = 0; i < 85; ++i)
        for (std::size_t j = 0; j < 6; ++j) {
            double sum = 0;
            for (std::size_t py = 0; py < 7; ++py)
                for (std::size_t px = 0; px < 7; ++px)
                    sum += surface[(i * 7 + py) * 47 + j * 7 + px];
            const float mean = static_cast<float>(sum / 49);
            floored = floored || mean < levels.water;
            ASSERT_EQ(mesh.vertices[i * 6 + j].h, std::max(mean, levels.water)) << i << ", " << j;
        }
    EXPECT_TRUE(floored);
}

TEST(SampleTerrain, RasterThatDoesNotCoverTheGridIsRefusedBeforeAnyRead) {
    GridSetup setup;
    ASSERT_TRUE(Set_Grid(testing::TwoByTwoFields(), 20, 20, setup));
    const auto levels = NormaliseLevels(setup);
    ASSERT_TRUE(levels);
    ClassifiedRaster shortRaster = UniformRaster(20, 20, 0);
    shortRaster.classes.resize(399);
    for (const ClassifiedRaster& raster :
         {UniformRaster(19, 20, 0), UniformRaster(20, 19, 0), ClassifiedRaster{}, shortRaster})
        EXPECT_THROW(SampleTerrain(setup, *levels, raster), std::invalid_argument)
            << raster.width << " x " << raster.height;
}

TEST(SampleTerrain, VerticesAtCellCentresTopRowFirstAndSquaresSplitUpperLeftToLowerRight) {
    GeneratorFields f = Fields("0", "50", "200", "1000", "500", "250");
    f.heights[0] = "10";
    const TerrainMesh mesh = SampleOnGrid(f, UniformRaster(40, 20, 0));  // CellSize 10, 4 x 2
    ASSERT_EQ(mesh.vertices.size(), 8u);
    // Pixel columns 5, 15, 25, 35 and rows 5, 15 mapped by (px - 19.5) / 19.5, (py - 9.5) / -19.
    const float xs[] = {-0.74358974f, -0.23076923f, 0.28205128f, 0.79487179f};
    const float ys[] = {0.23684211f, -0.28947368f};
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_FLOAT_EQ(mesh.vertices[k].x, xs[k % 4]) << k;
        EXPECT_FLOAT_EQ(mesh.vertices[k].y, ys[k / 4]) << k;
    }
    std::vector<std::array<std::int32_t, 3>> got;
    ForEachTriangle(mesh, [&](const Triangle& t) { got.push_back({t.a, t.b, t.c}); });
    EXPECT_EQ(got, (std::vector<std::array<std::int32_t, 3>>{
                       {0, 1, 5}, {0, 5, 4}, {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}}));
}

TEST(SampleTerrain, TriangleColoursFollowTheMeanOfTheirCorners) {
    // Water 0, Lawn 100, Snow 200 on a 1000-unit map; left column 300 (snow), right 0.
    GeneratorFields f = Fields("0", "100", "200", "1000", "1000", "500");
    f.heights[1] = "300";
    f.heights[2] = "0";
    ClassifiedRaster raster = UniformRaster(20, 20, 2);
    Paint(raster, 0, 0, 10, 20, 1);
    const TerrainMesh mesh = SampleOnGrid(f, raster);
    std::vector<std::int32_t> codes;
    ForEachTriangle(mesh, [&](const Triangle& t) { codes.push_back(t.colour); });
    // (0, 1, 3): corners 0.3, 0, 0 -> mean 0.1 = lawn; (0, 3, 2): 0.3, 0, 0.3 -> 0.2 = snow.
    EXPECT_EQ(codes, (std::vector<std::int32_t>{kLawnCode, kSnowCode}));
}

}  // namespace
}  // namespace quarn
