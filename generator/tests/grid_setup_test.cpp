#include "grid_setup.h"

#include <gtest/gtest.h>

#include "generator_test_support.h"
#include "platform_error.h"
#include "scripted_ui.h"
#include "window_mapping.h"

namespace quarn {
namespace {

using testing::Fields;
using testing::ScriptedUi;

TEST(SetGrid, WorkedExampleGivesCellSizeTenAndFortyByThirty) {
    ScriptedUi ui;
    GridSetup s;
    ASSERT_TRUE(Set_Grid(Fields("0", "10", "20", "4000", "3000", "100"), 400, 300, s));
    EXPECT_EQ(s.MapExtent, 4000.0f);
    EXPECT_EQ(s.CellSize, 10);
    EXPECT_EQ(s.GridCols, 40);
    EXPECT_EQ(s.GridRows, 30);
    EXPECT_EQ(s.VertexCount, 1200);
    EXPECT_EQ(s.ImageWidth, 400);
    EXPECT_EQ(s.ImageHeight, 300);
    EXPECT_TRUE(ui.boxes.empty());
    float x = 0, y = 0;
    DeviceToWorld(0, 0, x, y);
    EXPECT_FLOAT_EQ(x, -1.0f);
    EXPECT_FLOAT_EQ(y, 0.75f);
    DeviceToWorld(399, 299, x, y);
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_FLOAT_EQ(y, -0.75f);
}

TEST(SetGrid, LevelsAndSizesAreParsedAsTyped) {
    ScriptedUi ui;
    GridSetup s;
    ASSERT_TRUE(Set_Grid(Fields("  -5 ", "  120", "900   ", "4000", "3000", "100"), 400, 300, s));
    EXPECT_EQ(s.Water, -5.0f);
    EXPECT_EQ(s.Lawn, 120.0f);
    EXPECT_EQ(s.Snow, 900.0f);
    EXPECT_EQ(s.Mapwidth, 4000.0f);
    EXPECT_EQ(s.Mapheight, 3000.0f);
    EXPECT_EQ(s.Interval, 100.0f);
}

struct CellCase {
    std::string interval;
    std::int32_t cellSize;  // 0: refused as too small
};

class HalfEvenCellSize : public ::testing::TestWithParam<CellCase> {};

TEST_P(HalfEvenCellSize, RoundsOnceHalvesToEven) {
    ScriptedUi ui;
    GridSetup s;
    // 100 pixels for 1000 units: CellSize = Interval / 10.
    const bool ok =
        Set_Grid(Fields("0", "1", "2", "1000", "1000", GetParam().interval), 100, 100, s);
    EXPECT_EQ(s.CellSize, GetParam().cellSize);
    if (GetParam().cellSize == 0) {
        EXPECT_FALSE(ok);
        EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{kIntervalTooSmallText});
    } else {
        EXPECT_TRUE(ok);
        EXPECT_TRUE(ui.boxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, HalfEvenCellSize,
                         ::testing::Values(CellCase{"25", 2}, CellCase{"35", 4}, CellCase{"15", 2},
                                           CellCase{"45", 4}, CellCase{"26", 3}, CellCase{"5", 0},
                                           CellCase{"0", 0}));

struct RefusalCase {
    std::string mapWidth, mapHeight, interval;
    std::int32_t imageWidth, imageHeight;
    std::string message;
};

class SetGridRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(SetGridRefusal, ShowsItsBoxAndReturnsFalse) {
    ScriptedUi ui;
    GridSetup s;
    const RefusalCase& c = GetParam();
    EXPECT_FALSE(Set_Grid(Fields("0", "1", "2", c.mapWidth, c.mapHeight, c.interval), c.imageWidth,
                          c.imageHeight, s));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{c.message});
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].buttons, static_cast<MsgDlgButtons>(mbAbort));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetGridRefusal,
    ::testing::Values(RefusalCase{"1000", "1000", "1000", 400, 400, kInvalidIntervalText},
                      RefusalCase{"0", "1000", "0", 400, 400, kInvalidIntervalText},
                      RefusalCase{"1000", "500", "600", 400, 400, kInvalidIntervalText},
                      // Interval 999 passes the interval test; the cell is then the whole image.
                      RefusalCase{"1000", "1000", "999", 400, 400, kGridTooSmallText},
                      RefusalCase{"10000", "7500", "12", 400, 300, kIntervalTooSmallText},
                      // A one-pixel-wide or one-pixel-high map has a single column or row.
                      RefusalCase{"10", "3000", "9", 1, 300, kGridTooSmallText},
                      RefusalCase{"3000", "10", "9", 300, 1, kGridTooSmallText},
                      RefusalCase{"300", "100", "90", 30, 10, kGridTooSmallText},
                      // The cell-size check comes first.
                      RefusalCase{"10", "3000", "1", 1, 300, kIntervalTooSmallText}));

TEST(SetGrid, IntervalThirteenOnTheSmallScaleGivesOnePixelCells) {
    ScriptedUi ui;
    GridSetup s;
    ASSERT_TRUE(Set_Grid(Fields("0", "1", "2", "10000", "7500", "13"), 400, 300, s));
    EXPECT_EQ(s.CellSize, 1);
    EXPECT_EQ(s.GridCols, 400);
    EXPECT_EQ(s.GridRows, 300);
}

TEST(SetGrid, RemainderStripsHoldNoCell) {
    ScriptedUi ui;
    GridSetup s;
    ASSERT_TRUE(Set_Grid(Fields("0", "1", "2", "4050", "2980", "100"), 405, 298, s));
    EXPECT_EQ(s.CellSize, 10);
    EXPECT_EQ(s.GridCols, 40);
    EXPECT_EQ(s.GridRows, 29);
}

TEST(SetGrid, TwoByTwoGridIsTheSmallestAccepted) {
    ScriptedUi ui;
    GridSetup s;
    ASSERT_TRUE(Set_Grid(Fields("0", "1", "2", "100", "100", "50"), 20, 20, s));
    EXPECT_EQ(s.GridCols, 2);
    EXPECT_EQ(s.GridRows, 2);
}

TEST(SetGrid, HeightFieldsSetUnlessBlank) {
    ScriptedUi ui;
    GridSetup s;
    GeneratorFields f = Fields("0", "1", "2", "100", "100", "50");
    f.heights[0] = "";
    f.heights[1] = "      ";
    f.heights[2] = "0";
    f.heights[3] = "  -120";
    f.heights[15] = "999999";
    ASSERT_TRUE(Set_Grid(f, 20, 20, s));
    EXPECT_FALSE(s.heights[0].set);
    EXPECT_FALSE(s.heights[1].set);
    EXPECT_TRUE(s.heights[2].set);
    EXPECT_EQ(s.heights[2].height, 0.0f);
    EXPECT_TRUE(s.heights[3].set);
    EXPECT_EQ(s.heights[3].height, -120.0f);
    EXPECT_TRUE(s.heights[15].set);
    EXPECT_EQ(s.heights[15].height, 999999.0f);
    for (int e = 4; e < 15; ++e)
        EXPECT_FALSE(s.heights[static_cast<std::size_t>(e)].set);
}

TEST(SetGrid, SquareMapGivesUnitHalfExtents) {
    ScriptedUi ui;
    GridSetup s;
    ASSERT_TRUE(Set_Grid(Fields("0", "1", "2", "500", "500", "100"), 50, 80, s));
    EXPECT_FLOAT_EQ(g_WindowMapping.xmax, 1.0f);
    EXPECT_FLOAT_EQ(g_WindowMapping.ymax, 1.0f);
    EXPECT_FLOAT_EQ(g_WindowMapping.xmin, -1.0f);
    EXPECT_FLOAT_EQ(g_WindowMapping.ymin, -1.0f);
}

struct BadText {
    std::string water, height;
    std::string error;
};

class SetGridParseError : public ::testing::TestWithParam<BadText> {};

TEST_P(SetGridParseError, RaisesTheParsersError) {
    ScriptedUi ui;
    GridSetup s;
    GeneratorFields f = Fields(GetParam().water, "1", "2", "100", "100", "50");
    f.heights[4] = GetParam().height;
    try {
        Set_Grid(f, 20, 20, s);
        FAIL() << "no error";
    } catch (const PlatformError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().error);
    }
    EXPECT_TRUE(ui.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetGridParseError,
    ::testing::Values(BadText{"-", "", "'-' is not a valid floating point value"},
                      BadText{"1 2", "", "'1 2' is not a valid floating point value"},
                      // Tabs make a field set, but the parser gets the whole text.
                      BadText{"0", "\t12", "'\t12' is not a valid floating point value"},
                      BadText{"0", "+", "'+' is not a valid floating point value"}));

TEST(SetGrid, FailingCallLeavesTheMappingOfTheLastSuccess) {
    ScriptedUi ui;
    GridSetup s;
    ASSERT_TRUE(Set_Grid(Fields("0", "1", "2", "4000", "3000", "100"), 400, 300, s));
    const WindowMapping before = g_WindowMapping;
    ASSERT_FALSE(Set_Grid(Fields("0", "1", "2", "100", "60", "55"), 10, 10, s));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{kGridTooSmallText});
    EXPECT_EQ(g_WindowMapping.sx, before.sx);
    EXPECT_EQ(g_WindowMapping.ox, before.ox);
    EXPECT_EQ(g_WindowMapping.sy, before.sy);
    EXPECT_EQ(g_WindowMapping.oy, before.oy);
    // What was assigned before the refusal stays.
    EXPECT_EQ(s.Mapwidth, 100.0f);
    EXPECT_EQ(s.GridCols, 1);
}

}  // namespace
}  // namespace quarn
