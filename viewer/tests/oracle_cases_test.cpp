// Small scenes laid out in pixels, drawn by the renderer and by the rules (oracle_renderer) in
// every mode: the fill rule's edges, exact halves and corners beside pixel centres,
// degenerate, huge and cut-off triangles, corners near the 32-bit limits, depth order, ties
// and crossings, and hues the generator never writes. The rules themselves are pinned by a
// few pictures worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw.h"
#include "fault_text.h"
#include "oracle_renderer.h"
#include "pixel_buffer.h"
#include "viewer_test_support.h"
#include "window_mapping.h"

namespace quarn {
namespace {

constexpr int kWidth = 24, kHeight = 20;

// A corner at a column and a row of the picture (either may be fractional), at depth y'.
struct Corner {
    float column, row, depth;
};

struct Shape {
    Corner a, b, c;
    std::int32_t code;
};

// View space mapped onto the picture one to one at this zoom (a power of two, so nothing
// rounds): x' times the zoom is the column, z' times the zoom counts rows up from the bottom.
ProjectedScene InPixels(const std::vector<Shape>& shapes, float zoom = 1, int width = kWidth,
                        int height = kHeight) {
    std::vector<ProjectedTriangle> view;
    for (const Shape& s : shapes) {
        const auto at = [height, zoom](Corner c) {
            return Vec3{c.column / zoom, c.depth, (float(height - 1) - c.row) / zoom};
        };
        view.push_back({at(s.a), at(s.b), at(s.c), s.code});
    }
    ProjectedScene scene = testing::Projected(view);
    scene.rotatedSun = {30, 40, 25};
    SetWorldWindow(scene.mapping, 0, 0, float(width - 1), float(height - 1));
    SetDeviceViewport(scene.mapping, 0, 0, width - 1, height - 1);
    return scene;
}

constexpr testing::PenAndBrush kStart{BrushStyle::Solid, 0x102030, 0x405060};

struct Case {
    const char* name;
    std::vector<Shape> shapes;
    float zoom = 1;  // large where the corners are, so that the shading stays in range
};

const float kFar = 2.1e9f;  // pixels near the 32-bit limit

const Case kCases[] = {
    {"two halves of a square on pixel corners",
     {{{2, 2, 1}, {12, 2, 1}, {2, 12, 1}, 216}, {{12, 2, 1}, {12, 12, 1}, {2, 12, 1}, 120}}},
    {"a fan sharing every edge",
     {{{10, 9, 2}, {18, 9, 1}, {15, 3, 1}, 216},
      {{10, 9, 2}, {15, 3, 1}, {6, 2, 1}, 120},
      {{10, 9, 2}, {6, 2, 1}, {2, 11, 1}, 24},
      {{10, 9, 2}, {2, 11, 1}, {9, 18, 1}, 32767},
      {{10, 9, 2}, {9, 18, 1}, {18, 9, 1}, 0}}},
    {"corners at exact halves",
     {{{2.5f, 3.5f, 1}, {17.5f, 6.5f, 2}, {5.5f, 16.5f, 3}, 216},
      {{0.5f, 0.5f, 2}, {21.5f, 1.5f, 2}, {3.5f, 18.5f, 1}, 24}}},
    {"corners beside pixel centres",
     {{{3.49f, 2.51f, 1}, {19.51f, 8.49f, 1}, {8.499f, 17.501f, 1}, 120},
      {{3.51f, 2.49f, 2}, {19.49f, 8.51f, 0}, {8.501f, 17.499f, 1}, 216}}},
    {"slivers and shallow lines",
     {{{1, 3, 1}, {22, 4, 1}, {1, 4, 1}, 216},
      {{1, 6, 1}, {5, 7, 1}, {5, 7, 1}, 120},
      {{5, 9, 1}, {1, 8, 1}, {1, 8, 1}, 24},
      {{2, 10, 1}, {3, 19, 2}, {4, 10, 1}, 32767}}},
    {"collinear corners, two corners alike and a single point",
     {{{2, 2, 1}, {8, 8, 2}, {14, 14, 3}, 216},
      {{3, 15, 1}, {20, 15, 1}, {10, 15, 1}, 120},
      {{21, 1, 1}, {21, 18, 1}, {21, 5, 1}, 24},
      {{5, 5, 1}, {5, 5, 1}, {15, 9, 4}, 32767},
      {{7, 12, 5}, {7, 12, 1}, {7, 12, 3}, 0}}},
    {"huge triangles and triangles cut off on every side",
     {{{-1e6f, -1e6f, 0}, {1e6f, 0, 1}, {0, 1e6f, 2}, 216},
      {{-5, 3, 1}, {10, -4, 2}, {30, 25, 3}, 120},
      {{-3, -3, 4}, {26, 10, 4}, {-3, 22, 4}, 24}},
     1 << 12},
    {"corners near the 32-bit limits",
     {{{-kFar, 5, 1}, {kFar, 6, 1}, {3, kFar, 2}, 120},
      {{kFar, -kFar, 3}, {10, 10, 3}, {-kFar, kFar, 3}, 24}},
     1 << 24},
    {"a corner beyond them stops the drawing after the triangles before it",
     {{{1, 1, 1}, {20, 2, 1}, {3, 17, 1}, 120},
      {{5, 5, 2}, {3e9f, 6, 2}, {6, 15, 2}, 24},
      {{2, 2, 3}, {22, 18, 3}, {2, 18, 3}, 216}},
     1 << 24},
    {"overlaps nearer first, then farther first",
     {{{1, 1, 2}, {15, 3, 2}, {4, 15, 2}, 216},
      {{6, 4, 1}, {22, 8, 1}, {9, 18, 1}, 120},
      {{12, 2, 0}, {20, 14, 0}, {5, 12, 0}, 24},
      {{8, 6, 3}, {14, 6, 3}, {11, 12, 3}, 32767}}},
    {"equal depths: the later shows",
     {{{2, 2, 1.5f}, {18, 3, 1.5f}, {5, 17, 1.5f}, 216},
      {{6, 5, 1.5f}, {21, 7, 1.5f}, {10, 18, 1.5f}, 120},
      {{4, 4, 1.5f}, {12, 4, 1.5f}, {4, 12, 1.5f}, 24}}},
    {"crossing planes",
     {{{1, 2, 0}, {22, 2, 4}, {1, 17, 0}, 216}, {{22, 3, 0}, {22, 18, 0}, {1, 10, 4}, 120}}},
    {"an edge-on triangle in front of a surface",
     {{{2, 2, 1}, {21, 4, 1}, {6, 17, 1}, 216},
      {{3, 14, 5}, {19, 3, 5}, {11, 8, 5}, 24},
      {{4, 6, 0}, {20, 12, 0}, {12, 9, 0}, 120}}},
    {"hues from 0 to 360 and beyond",
     {{{0, 0, 1}, {7, 0, 1}, {0, 9, 1}, 0},
      {{8, 0, 1}, {15, 0, 1}, {8, 9, 1}, 360},
      {{16, 0, 1}, {23, 0, 1}, {16, 9, 1}, 359},
      {{0, 10, 1}, {5, 10, 1}, {0, 19, 1}, -59},
      {{6, 10, 1}, {11, 10, 1}, {6, 19, 1}, -60},
      {{12, 10, 1}, {17, 10, 1}, {12, 19, 1}, 400},
      {{18, 10, 1}, {23, 10, 1}, {18, 19, 1}, 2000000000}}},
};

TEST(OracleCases, EveryModeDrawsAsTheRulesSay) {
    for (const Case& c : kCases) {
        const ProjectedScene scene = InPixels(c.shapes, c.zoom);
        for (const bool shaded : {true, false})
            for (const bool hidden : {false, true}) {
                const std::string mode = std::string(c.name) + (shaded ? ", shaded" : ", wire") +
                                         (hidden ? ", hidden surfaces" : "");
                PixelBuffer picture = testing::Patterned(kWidth, kHeight);
                PixelCanvas canvas(picture);
                canvas.brushStyle = kStart.brushStyle, canvas.brushColour = kStart.brushColour;
                canvas.penColour = kStart.penColour;
                const std::string fault = testing::FaultText(
                    [&] { DrawProjected(scene, c.zoom, shaded, canvas, hidden); });
                const testing::OracleOutcome rules = testing::OracleDraw(
                    scene, {c.zoom, shaded, hidden}, testing::Patterned(kWidth, kHeight), kStart);
                EXPECT_EQ(fault, rules.fault) << mode;
                const testing::Disagreement differ = testing::Compare(rules, picture);
                EXPECT_EQ(differ.pixels, 0u) << mode << ", first at " << differ.first;
                EXPECT_EQ(canvas.brushStyle, rules.canvas.brushStyle) << mode;
                EXPECT_EQ(canvas.penColour, rules.canvas.penColour) << mode;
                EXPECT_EQ(canvas.brushColour, rules.canvas.brushColour) << mode;
            }
    }
}

// A wire edge two units behind a flat surface, on a triangle no more than two pixels across
// whose depth changes 1.5 from one pixel to the next, is covered: it lies farther behind than
// a pixel's depth change of either. Disabled while the renderer allows such a small triangle
// the whole spread of its corners' depths (3 here) and shows the edge at (10, 10).
TEST(OracleCases, DISABLED_SmallTrianglesEdgesHideBeyondAPixelsDepthChange) {
    const ProjectedScene scene = InPixels(
        {{{0, 0, 7}, {30, 0, 7}, {0, 30, 7}, 216}, {{10, 10, 5}, {12, 10, 8}, {12, 10, 8}, 120}});
    PixelBuffer picture(kWidth, kHeight);
    PixelCanvas canvas(picture);
    DrawProjected(scene, 1.0f, false, canvas, true);
    EXPECT_EQ(picture.pixel(10, 10), kBlack);
    const testing::OracleOutcome rules =
        testing::OracleDraw(scene, {1.0f, false, true}, PixelBuffer(kWidth, kHeight), {});
    EXPECT_EQ(rules.picture.pixel(10, 10), kBlack);
    EXPECT_EQ(testing::Compare(rules, picture).pixels, 0u);
}

// The rules' picture as text: '#' where a triangle shows, '.' where the picture stays black.
std::vector<std::string> Drawn(const std::vector<Shape>& shapes, bool shaded, bool hidden,
                               int width, int height) {
    const testing::OracleOutcome rules = testing::OracleDraw(
        InPixels(shapes, 1, width, height), {1.0f, shaded, hidden}, PixelBuffer(width, height), {});
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        rows.emplace_back();
        for (int x = 0; x < width; ++x)
            rows.back() += rules.picture.pixel(x, y) == kBlack ? '.' : '#';
    }
    return rows;
}

// Centres inside or on the top and left edges, and the pen's outline, both ends included;
// the long edge of the first triangle is a right edge, so its centres stay out of the fill.
TEST(OracleRules, FillAndOutlineOfSmallTriangles) {
    const std::vector<std::string> corner{"#####.", "##.#..", "#.#...",
                                          "##....", "#.....", "......"};
    EXPECT_EQ(Drawn({{{0, 0, 1}, {4, 0, 1}, {0, 4, 1}, 120}}, true, false, 6, 6), corner);
    // Its mirror image, whose long edge is a left edge, takes the centres on that edge.
    const std::vector<std::string> mirror{"...##.", "..###.", ".####.",
                                          "#####.", "#####.", "......"};
    EXPECT_EQ(Drawn({{{4, 0, 1}, {4, 4, 1}, {0, 4, 1}, 120}}, false, false, 6, 6)[0], "....#.");
    EXPECT_EQ(Drawn({{{4, 0, 1}, {4, 4, 1}, {0, 4, 1}, 120}}, true, false, 6, 6), mirror);
}

// One pixel per step of the longer axis, the other coordinate rounded, halves toward the
// larger: the same pixels from either end.
TEST(OracleRules, LinesRoundHalvesTowardTheLargerCoordinate) {
    const std::vector<std::string> line{"......", "##....", "..###.", "......"};
    EXPECT_EQ(Drawn({{{0, 1, 1}, {4, 2, 1}, {4, 2, 1}, 120}}, false, false, 6, 4), line);
    EXPECT_EQ(Drawn({{{4, 2, 1}, {0, 1, 1}, {0, 1, 1}, 120}}, false, false, 6, 4), line);
}

// A nearer triangle hides the wire edges of a farther one except within a pixel's depth change
// of it; in file order every edge shows.
TEST(OracleRules, HiddenWireEdgesStayBlack) {
    const std::vector<Shape> scene{{{0, 0, 0}, {5, 0, 0}, {0, 5, 0}, 120},
                                   {{1, 1, 9}, {9, 1, 9}, {1, 9, 9}, 120}};
    EXPECT_EQ(Drawn(scene, false, false, 10, 10)[2], "##.#....#.");
    EXPECT_EQ(Drawn(scene, false, true, 10, 10)[2], "##......#.");
}

}  // namespace
}  // namespace quarn
