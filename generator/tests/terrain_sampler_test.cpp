#include "terrain_sampler.h"

#include <gtest/gtest.h>

#include <algorithm>
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
