#include "terrain_sampler.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "generator_test_support.h"
#include "scripted_ui.h"

namespace quarn {
namespace {

using testing::Fields;
using testing::Paint;
using testing::SampleOnGrid;
using testing::UniformRaster;

TEST(ColorToIndex, ExactMatchLowestIndexWins) {
    SwatchColours swatches{};
    for (std::size_t e = 0; e < 16; ++e)
        swatches[e] = static_cast<Colour>(0x010101 * e);
    swatches[9] = swatches[3];
    EXPECT_EQ(Color_To_Index(swatches[3], swatches), 3);
    EXPECT_EQ(Color_To_Index(0, swatches), 0);
    EXPECT_EQ(Color_To_Index(0x0F0F0F, swatches), 15);
    EXPECT_EQ(Color_To_Index(0x0F0F0E, swatches), kNoClass);
}

TEST(ColorToIndex, CacheAnswersLikeTheSwatchSearch) {
    SwatchColours swatches{};
    swatches.fill(0xFFFFFF);
    swatches[2] = 0x0000FF;
    swatches[7] = 0x0000FF;
    ColourIndexCache cache(swatches);
    for (Colour c : {0x0000FFu, 0x00FF00u, 0x0000FFu, 0xFFFFFFu, 0x00FF00u})
        EXPECT_EQ(cache.classOf(c), Color_To_Index(c, swatches)) << c;
    EXPECT_EQ(cache.classOf(0x0000FF), 2);
}

TEST(TriangleColor, FirstTestThatHoldsDecides) {
    const std::pair<float, std::int32_t> cases[] = {{-1.0f, 216}, {0.1f, 216}, {0.15f, 120},
                                                    {0.2f, 120},  {0.25f, 24}, {0.3f, 32767},
                                                    {5.0f, 32767}};
    for (const auto& [mean, code] : cases)
        EXPECT_EQ(Triangle_Color(mean, 0.1f, 0.2f, 0.3f), code) << mean;
}

TEST(MeanHeight, ThreeEqualCornersGiveThatHeight) {
    for (float h : {0.1f, 0.15f, 1.0f / 3.0f, 0.7f})
        EXPECT_EQ(MeanHeight(h, h, h), h);
    EXPECT_EQ(MeanHeight(0.0f, 0.0f, 1.0f), static_cast<float>(1.0 / 3.0));
}

TEST(NormaliseLevels, NothingWhenNoHeightSet) {
    GridSetup setup;
    setup.MapExtent = 1000;
    EXPECT_FALSE(NormaliseLevels(setup).has_value());
    setup.heights[4] = {250, true};
    setup.heights[6] = {0, true};
    const auto levels = NormaliseLevels(setup);
    ASSERT_TRUE(levels.has_value());
    EXPECT_EQ(levels->meanOfSet, static_cast<float>(0.25f / 2.0));
}

TEST(SampleTerrain, WorkedCellOfThreeColoursGivesPointOneThreeSevenFive) {
    GeneratorFields f = Fields("0", "500", "900", "1000", "1000", "100");
    f.heights[2] = "100";
    f.heights[5] = "200";
    ClassifiedRaster raster = UniformRaster(100, 100, 2);
    Paint(raster, 0, 0, 10, 5, 2);  // 50 pixels
    Paint(raster, 0, 5, 10, 3, 5);  // 30 pixels
    Paint(raster, 0, 8, 10, 2, 7);  // 20 pixels without height
    const TerrainMesh mesh = SampleOnGrid(f, raster);
    ASSERT_EQ(mesh.vertices.size(), 100u);
    float acc = static_cast<float>(0.0 + 50.0 * 0.1f);
    acc = static_cast<float>(acc + 30.0 * 0.2f);
    EXPECT_EQ(mesh.vertices[0].h, static_cast<float>(acc / 80.0));
    EXPECT_NEAR(mesh.vertices[0].h, 0.1375, 1e-7);
    EXPECT_NEAR(mesh.fileVertex(0).z, 0.34375, 1e-6);
    EXPECT_EQ(mesh.vertices[1].h, 0.1f);
}

TEST(SampleTerrain, CellsWithoutHeightsRepeatThePreviousCell) {
    GeneratorFields f = Fields("0", "500", "900", "400", "400", "100");
    f.heights[2] = "100";
    f.heights[5] = "300";
    ClassifiedRaster raster = UniformRaster(40, 40, 7);  // 4 x 4 cells of 10 pixels
    Paint(raster, 20, 0, 10, 10, 2);                     // cell (0, 2)
    Paint(raster, 10, 30, 10, 10, 5);                    // cell (3, 1)
    const TerrainMesh mesh = SampleOnGrid(f, raster);
    const float mean = static_cast<float>(static_cast<float>(0.25f + 0.75f) / 2.0);
    const std::vector<float> expected{mean,  mean,  0.25f, 0.25f,  // first row: the mean first
                                      0.25f, 0.25f, 0.25f, 0.25f,  // a row starts from the last
                                      0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.75f, 0.75f, 0.75f};
    ASSERT_EQ(mesh.vertices.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(mesh.vertices[k].h, expected[k]) << k;
}

TEST(SampleTerrain, PixelsOfNoSwatchColourAreLeftOut) {
    GeneratorFields f = Fields("0", "500", "900", "200", "200", "100");
    f.heights[2] = "100";
    ClassifiedRaster raster = UniformRaster(20, 20, 2);
    Paint(raster, 0, 0, 10, 7, kNoClass);
    const TerrainMesh mesh = SampleOnGrid(f, raster);
    EXPECT_EQ(mesh.vertices[0].h, 0.5f);
}

TEST(SampleTerrain, HeightsBelowWaterAreRaisedToWater) {
    GeneratorFields f = Fields("150", "500", "900", "1000", "1000", "500");
    f.heights[3] = "100";
    const TerrainMesh mesh = SampleOnGrid(f, UniformRaster(20, 20, 3));
    for (const auto& v : mesh.vertices)
        EXPECT_EQ(v.h, 0.15f);
    ForEachTriangle(mesh, [](const Triangle& t) { EXPECT_EQ(t.colour, kWaterCode); });
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

TEST(SampleTerrain, RasterThatDoesNotCoverTheGridIsRefusedBeforeAnyRead) {
    testing::ScriptedUi ui;
    GeneratorFields f = testing::TwoByTwoFields();
    GridSetup setup;
    ASSERT_TRUE(Set_Grid(f, 20, 20, setup));
    const auto levels = NormaliseLevels(setup);
    ASSERT_TRUE(levels);
    ClassifiedRaster shortRaster = UniformRaster(20, 20, 0);
    shortRaster.classes.resize(399);
    for (const ClassifiedRaster& raster :
         {UniformRaster(19, 20, 0), UniformRaster(20, 19, 0), ClassifiedRaster{}, shortRaster})
        EXPECT_THROW(SampleTerrain(setup, *levels, raster), std::invalid_argument)
            << raster.width << " x " << raster.height;
}

TEST(SampleTerrain, OneHeightOnAUniformMapGivesOneLevelAndOneClass) {
    GeneratorFields f = Fields("0", "50", "200", "1000", "800", "100");
    f.heights[3] = "100";
    const TerrainMesh mesh = SampleOnGrid(f, UniformRaster(50, 40, 3));
    ASSERT_EQ(mesh.cols, 10);
    ASSERT_EQ(mesh.rows, 8);
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k)
        EXPECT_EQ(mesh.fileVertex(k).z, static_cast<float>(0.1f * 2.5));
    std::int32_t count = 0;
    ForEachTriangle(mesh, [&](const Triangle& t) {
        EXPECT_EQ(t.colour, kMountainCode);
        ++count;
    });
    EXPECT_EQ(count, mesh.triangleCount());
    EXPECT_EQ(count, 2 * 9 * 7);
}

TEST(SampleTerrain, VerticesAtCellCentresTopRowFirstAndSquaresSplitUpperLeftToLowerRight) {
    GeneratorFields f = Fields("0", "50", "200", "1000", "500", "250");
    f.heights[0] = "10";
    const TerrainMesh mesh = SampleOnGrid(f, UniformRaster(40, 20, 0));  // CellSize 10, 4 x 2
    ASSERT_EQ(mesh.vertices.size(), 8u);
    // sx = 39 / 2, ox = 19.5; sy = -19, oy = 9.5.
    const auto x = [](int px) { return static_cast<float>((px - 19.5) / 19.5); };
    const auto y = [](int py) { return static_cast<float>((py - 9.5) / -19.0); };
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 4; ++j) {
            const auto& v = mesh.vertices[static_cast<std::size_t>(i * 4 + j)];
            EXPECT_EQ(v.x, x(j * 10 + 5));
            EXPECT_EQ(v.y, y(i * 10 + 5));
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
