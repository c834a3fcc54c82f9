#include "grid_setup.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fault_text.h"
#include "generator_test_support.h"
#include "scripted_ui.h"
#include "window_mapping.h"

namespace quarn {
namespace {

using testing::Fields;

class SetGrid : public ::testing::Test {
  protected:
    // Levels 0, 1, 2 and no height: only the sizes and the image matter.
    bool Grid(const std::string& mapWidth, const std::string& mapHeight,
              const std::string& interval, std::int32_t imageWidth, std::int32_t imageHeight) {
        return Set_Grid(Fields("0", "1", "2", mapWidth, mapHeight, interval), imageWidth,
                        imageHeight, s);
    }

    testing::ScriptedUi ui;
    GridSetup s;
};

TEST_F(SetGrid, WorkedExampleGivesCellSizeTenAndFortyByThirty) {
    ASSERT_TRUE(Set_Grid(Fields("  -5 ", "  120", "900   ", "4000", "3000", "100"), 400, 300, s));
    EXPECT_EQ(std::tuple(s.Water, s.Lawn, s.Snow, s.Mapwidth, s.Mapheight, s.Interval, s.MapExtent),
              std::tuple(-5.0f, 120.0f, 900.0f, 4000.0f, 3000.0f, 100.0f, 4000.0f));
    EXPECT_EQ(
        std::tuple(s.CellSize, s.GridCols, s.GridRows, s.VertexCount, s.ImageWidth, s.ImageHeight),
        std::tuple(10, 40, 30, 1200, 400, 300));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SetGrid, AcceptedGridsCountWholeCellsOnly) {
    const struct {
        const char *mapWidth, *mapHeight, *interval;
        std::int32_t imageWidth, imageHeight, cellSize, cols, rows;
    } cases[] = {{"10000", "7500", "13", 400, 300, 1, 400, 300},  // one-pixel cells
                 {"4050", "2980", "100", 405, 298, 10, 40, 29},   // remainder strips hold none
                 {"100", "100", "50", 20, 20, 10, 2, 2},          // the smallest accepted
                 // 100 pixels for 1000 units: Interval / 10 rounded once, halves to even.
                 {"1000", "1000", "25", 100, 100, 2, 50, 50},
                 {"1000", "1000", "35", 100, 100, 4, 25, 25},
                 {"1000", "1000", "26", 100, 100, 3, 33, 33},
                 // The largest square grid whose 2 x 32767^2 triangles fit a 32-bit count.
                 {"32768", "32768", "1", 32768, 32768, 1, 32768, 32768}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Grid(c.mapWidth, c.mapHeight, c.interval, c.imageWidth, c.imageHeight))
            << c.interval;
        EXPECT_EQ(s.CellSize, c.cellSize) << c.interval;
        EXPECT_EQ(s.GridCols, c.cols) << c.interval;
        EXPECT_EQ(s.GridRows, c.rows) << c.interval;
    }
}

TEST_F(SetGrid, RefusalShowsItsBoxAndReturnsFalse) {
    const struct {
        const char *mapWidth, *mapHeight, *interval;
        std::int32_t imageWidth, imageHeight;
        const char* message;
    } cases[] = {{"1000", "1000", "1000", 400, 400, kInvalidIntervalText},
                 {"0", "1000", "0", 400, 400, kInvalidIntervalText},
                 {"1000", "500", "600", 400, 400, kInvalidIntervalText},
                 // Interval 999 passes the interval test; the cell is then the whole image.
                 {"1000", "1000", "999", 400, 400, kGridTooSmallText},
                 {"10000", "7500", "12", 400, 300, kIntervalTooSmallText},
                 {"1000", "1000", "5", 100, 100, kIntervalTooSmallText},  // 0.5 to even
                 {"1000", "1000", "0", 100, 100, kIntervalTooSmallText},
                 // A one-pixel-wide or one-pixel-high map has a single column or row.
                 {"10", "3000", "9", 1, 300, kGridTooSmallText},
                 {"3000", "10", "9", 300, 1, kGridTooSmallText},
                 {"300", "100", "90", 30, 10, kGridTooSmallText},
                 // The cell-size check comes first.
                 {"10", "3000", "1", 1, 300, kIntervalTooSmallText},
                 // Counts beyond 32 bits: 2 x 32768^2 triangles.
                 {"32769", "32769", "1", 32769, 32769, kGridTooLargeText}};
    for (const auto& c : cases) {
        ui.boxes.clear();
        EXPECT_FALSE(Grid(c.mapWidth, c.mapHeight, c.interval, c.imageWidth, c.imageHeight));
        EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{c.message}) << c.interval;
    }
}

TEST_F(SetGrid, HeightFieldsSetUnlessBlank) {
    GeneratorFields f = Fields("0", "1", "2", "100", "100", "50");
    f.heights[0] = "";
    f.heights[1] = "      ";
    f.heights[2] = "0";
    f.heights[3] = "  -120";
    f.heights[15] = "999999";
    ASSERT_TRUE(Set_Grid(f, 20, 20, s));
    for (std::size_t e = 0; e < 16; ++e)
        EXPECT_EQ(s.heights[e].set, e == 2 || e == 3 || e == 15) << e;
    EXPECT_EQ(std::tuple(s.heights[2].height, s.heights[3].height, s.heights[15].height),
              std::tuple(0.0f, -120.0f, 999999.0f));
}

TEST_F(SetGrid, UnreadableTextRaisesTheParsersError) {
    // Water, height 4; tabs make a field set, but the parser gets the whole text.
    const std::pair<const char*, const char*> cases[] = {
        {"-", ""}, {"1 2", ""}, {"0", "\t12"}, {"0", "+"}};
    for (const auto& [water, height] : cases) {
        GeneratorFields f = Fields(water, "1", "2", "100", "100", "50");
        f.heights[4] = height;
        const std::string bad = *height ? height : water;
        EXPECT_EQ(testing::FaultText([&] { Set_Grid(f, 20, 20, s); }),
                  "'" + bad + "' is not a valid floating point value");
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SetGrid, SquareMapIsPublishedAndAFailingCallLeavesItPublished) {
    ASSERT_TRUE(Grid("500", "500", "100", 50, 80));
    const WindowMapping& m = s.mapping;
    EXPECT_EQ(std::tuple(m.xmin, m.ymin, m.xmax, m.ymax), std::tuple(-1.0f, -1.0f, 1.0f, 1.0f));
    const WindowMapping published = g_WindowMapping;
    EXPECT_EQ(published.sx, m.sx);
    ASSERT_FALSE(Grid("100", "60", "55", 10, 10));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{kGridTooSmallText});
    const WindowMapping& g = g_WindowMapping;
    EXPECT_EQ(std::tuple(g.sx, g.ox, g.sy, g.oy),
              std::tuple(published.sx, published.ox, published.sy, published.oy));
    // What was assigned before the refusal stays.
    EXPECT_EQ(s.Mapwidth, 100.0f);
    EXPECT_EQ(s.GridCols, 1);
}

}  // namespace
}  // namespace quarn
