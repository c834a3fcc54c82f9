// The viewer's rendering against the drawing worked out pixel by pixel from its rules
// (oracle_renderer): every picture, the canvas state it leaves, the result and any fault.
// Whole scenes in file order and with hidden surfaces, stretched, in proportion and in
// perspective; then small scenes laid out in pixels, drawn in every mode: the fill rule's
// edges, exact halves and corners beside pixel centres, degenerate, huge and cut-off
// triangles, corners near the 32-bit limits, depth order, ties and crossings, and hues the
// generator never writes. The rules themselves are pinned by a few pictures worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "draw.h"
#include "fault_text.h"
#include "oracle_renderer.h"
#include "pixel_buffer.h"
#include "scene.h"
#include "scripted_ui.h"
#include "viewer_test_support.h"
#include "window_mapping.h"

namespace quarn {
namespace {

// A terrain laid out as the 3DF writer lays out its grid, vertices shared, with hills in all
// four height classes and a flat sea at height 0.
Scene Terrain(int side) {
    std::vector<Vertex> vertices;
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j) {
            const float x = -1.0f + 2.0f * float(j) / float(side - 1);
            const float y = 1.0f - 2.0f * float(i) / float(side - 1);
            const float h = std::max(0.0f, 0.7f * std::cos(std::hypot(x - 0.2f, y) * 2.5f)) +
                            0.1f * std::sin(7 * x * y);
            vertices.push_back({x, y * 0.75f, std::max(0.0f, h) * 0.25f});
        }
    const auto code = [&](std::int32_t k) {
        const float z = vertices[std::size_t(k)].z;
        return z <= 0 ? 216 : z < 0.075f ? 120 : z < 0.15f ? 24 : 32767;
    };
    std::vector<Triangle> triangles;
    for (std::int32_t i = 0; i + 1 < side; ++i)
        for (std::int32_t j = 0; j + 1 < side; ++j) {
            const std::int32_t k = i * side + j;
            triangles.push_back({k, k + 1, k + side + 1, code(k + 1)});
            triangles.push_back({k, k + side + 1, k + side, code(k + side)});
        }
    Scene scene;
    scene.setVertices(std::move(vertices));
    scene.setTriangles(std::move(triangles));
    return scene;
}

// Triangles strewn over one another in file order, some degenerate, with odd hues, and some
// huge (far out) unless in perspective.
Scene Jumble(unsigned seed, float spread, bool farOut) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> coordinate(-spread, spread);
    const std::int32_t hues[] = {216, 120, 24, 32767, 0, 360, 359, -59, -60, 400, 2000000000};
    Scene scene;
    for (int n = 0; n < 60; ++n) {
        SceneTriangle t;
        for (Vertex* v : {&t.corner1, &t.corner2, &t.corner3})
            *v = {coordinate(random), coordinate(random), coordinate(random)};
        if (n % 7 == 3)
            t.corner3 = t.corner2;  // a segment
        if (n % 11 == 5)
            t.corner2 = t.corner3 = t.corner1;  // a point
        if (farOut && n % 13 == 8)
            t.corner3 = {t.corner1.x * 1e4f, t.corner1.y, -t.corner1.z * 1e4f};  // far out
        t.colour = hues[std::size_t(n) % std::size(hues)];
        scene.push_back(t);
    }
    return scene;
}

struct View {
    ViewAngles angles;
    float zoom;
    bool shaded;
    bool hidden = false;
    ProjectionOptions options = {};
    int width = 83, height = 61;
};

constexpr testing::PenAndBrush kEarlier{BrushStyle::Solid, 0x5A5A5A, 0x00AB12};

testing::OracleOutcome Rendered(const Scene& scene, const View& v) {
    testing::ScriptedUi ui;
    TriangleList = scene;
    ObserverElevation = v.angles.observerElevation, ObserverAzimuth = v.angles.observerAzimuth;
    SunElevation = v.angles.sunElevation, SunAzimuth = v.angles.sunAzimuth;
    ZoomFactor = v.zoom;
    ShadedMode = v.shaded;
    const ViewOptions options{.hiddenSurfaces = v.hidden,
                              .keepProportions = v.options.keepProportions,
                              .perspective = v.options.eyeDistance > 0};
    PerspectiveDistance = -v.options.eyeDistance;
    testing::OracleOutcome out;
    out.picture = testing::Patterned(v.width, v.height);
    PixelCanvas canvas(out.picture);
    canvas.brushStyle = kEarlier.brushStyle, canvas.brushColour = kEarlier.brushColour;
    canvas.penColour = kEarlier.penColour;
    out.fault =
        testing::FaultText([&] { out.drawn = RenderScene(canvas, v.width, v.height, options); });
    out.canvas = {canvas.brushStyle, canvas.brushColour, canvas.penColour};
    ProjectedList.reset();
    return out;
}

void ExpectAsTheRulesDraw(const Scene& scene, const View& v) {
    const testing::OracleOutcome fast = Rendered(scene, v);
    const testing::OracleOutcome rules =
        testing::OracleRender(scene, v.angles, v.options, {v.zoom, v.shaded, v.hidden},
                              testing::Patterned(v.width, v.height), kEarlier);
    SCOPED_TRACE(::testing::Message()
                 << "at " << v.angles.observerElevation << "/" << v.angles.observerAzimuth
                 << " zoom " << v.zoom << " shaded " << v.shaded << " hidden " << v.hidden
                 << " proportion " << v.options.keepProportions << " eye "
                 << v.options.eyeDistance);
    EXPECT_EQ(std::tie(fast.fault, fast.drawn, fast.canvas.brushStyle, fast.canvas.brushColour,
                       fast.canvas.penColour),
              std::tie(rules.fault, rules.drawn, rules.canvas.brushStyle, rules.canvas.brushColour,
                       rules.canvas.penColour));
    const testing::Disagreement differ = testing::Compare(rules, fast.picture);
    EXPECT_EQ(differ.pixels, 0u) << "first at " << differ.first;
}

class OracleMatch : public ::testing::Test {
  protected:
    void SetUp() override { testing::ResetViewerState(); }
    void TearDown() override { testing::ResetViewerState(); }
};

const ViewAngles kAngles[] = {{20, 60, 90, 180},  {0, 0, 90, 180},  {90, 0, 45, 30},
                              {35, 215, 10, 300}, {355, 120, 0, 0}, {180, 90, 270, 5}};

TEST_F(OracleMatch, TerrainFromAllSidesAndTheSunAnywhere) {
    const Scene terrain = Terrain(48);
    for (const ViewAngles& a : kAngles)
        for (const bool shaded : {true, false})
            for (const bool hidden : {false, true})
                ExpectAsTheRulesDraw(terrain, {a, 0.751f, shaded, hidden});
    // A picture this large is drawn in bands of rows rather than in shares of the triangles.
    for (const bool hidden : {false, true})
        ExpectAsTheRulesDraw(terrain, {kAngles[0], 0.751f, true, hidden, {}, 1100, 1000});
}

// Under perspective each corner's x' and z' are the parallel ones divided by
// 1 - (y' - c) / d, c the middle of the scene's y' range, y' itself unchanged.
void ExpectPerspectiveCorners(const Scene& scene, const ViewAngles& angles,
                              const ProjectionOptions& options) {
    const auto parallel = ProjectScene(scene, angles, 1.0f, 83, 61, {options.keepProportions, 0});
    const auto perspective = ProjectScene(scene, angles, 1.0f, 83, 61, options);
    ASSERT_TRUE(parallel && perspective);
    ASSERT_EQ(parallel->size(), perspective->size());
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (std::size_t i = 0; i < parallel->size(); ++i) {
        const ProjectedTriangle t = parallel->triangle(i);
        for (const Vec3& p : {t.corner1, t.corner2, t.corner3})
            low = std::min(low, double(p.y)), high = std::max(high, double(p.y));
    }
    const double middle = (low + high) / 2;
    for (std::size_t i = 0; i < parallel->size(); ++i) {
        const ProjectedTriangle t = parallel->triangle(i), u = perspective->triangle(i);
        const Vec3 ps[] = {t.corner1, t.corner2, t.corner3},
                   qs[] = {u.corner1, u.corner2, u.corner3};
        for (int k = 0; k < 3; ++k) {
            const double divisor = 1 - (ps[k].y - middle) / options.eyeDistance;
            const double x = ps[k].x / divisor, z = ps[k].z / divisor;
            EXPECT_NEAR(qs[k].x, x, 1e-5 * (1 + std::fabs(x))) << "triangle " << i;
            EXPECT_NEAR(qs[k].z, z, 1e-5 * (1 + std::fabs(z))) << "triangle " << i;
            EXPECT_EQ(qs[k].y, ps[k].y) << "triangle " << i;
        }
    }
}

TEST_F(OracleMatch, TerrainInProportionAndInPerspective) {
    const Scene terrain = Terrain(32);
    const float eye = 1.01f * 2.51f;  // the load's distance: about the terrain's diagonal
    for (const ViewAngles& a : kAngles) {
        ExpectPerspectiveCorners(terrain, a, {false, eye});
        ExpectPerspectiveCorners(terrain, a, {true, eye});
        for (const ProjectionOptions options :
             {ProjectionOptions{true, 0}, {false, eye}, {true, eye}})
            for (const bool shaded : {true, false})
                for (const bool hidden : {false, true})
                    ExpectAsTheRulesDraw(terrain, {a, 0.751f, shaded, hidden, options});
    }
}

TEST_F(OracleMatch, ZoomFromAPointToBeyondThePixelRange) {
    const Scene terrain = Terrain(24);
    // At 5e7 the farthest corners lie near the 32-bit pixel limits; at 6e7 they leave them
    // and the drawing faults; a zoom of 3.4e38 overflows the corner products.
    for (const float zoom : {1e-6f, 0.05f, 1.0f, 13.3f, 1e3f, 5e7f, 6e7f, 3.4e38f})
        for (const bool shaded : {true, false})
            for (const bool hidden : {false, true})
                ExpectAsTheRulesDraw(terrain,
                                     {{30, 40, 90, 180}, zoom, shaded, hidden, {}, 64, 48});
}

// At zoom 1e5 the far-out corners leave the pixel range: the drawing faults part-way, after
// the triangles before them. Spread over 3e7 the shading overflows. Seen in perspective from 3
// units in front of their middle, the jumble has no far-out corners to stand behind the eye.
TEST_F(OracleMatch, OverlapsDegenerateAndHugeTriangles) {
    const struct {
        float spread, zoom;
        ProjectionOptions options;
    } views[] = {{1, 0.9f, {}},
                 {1, 1e5f, {}},
                 {3e7f, 0.9f, {}},
                 {1, 0.9f, {false, 3}},
                 {1, 0.9f, {true, 3}}};
    const ViewAngles angles{25, 70, 60, 100};
    for (const unsigned seed : {1u, 2u, 3u})
        for (const auto& v : views) {
            const Scene jumble = Jumble(seed, v.spread, v.options.eyeDistance == 0);
            if (v.options.eyeDistance > 0)
                ExpectPerspectiveCorners(jumble, angles, v.options);
            for (const bool shaded : {true, false})
                for (const bool hidden : {false, true})
                    ExpectAsTheRulesDraw(jumble,
                                         {angles, v.zoom, shaded, hidden, v.options, 57, 43});
        }
}

// Bands of rows of any height, handed on top down or bottom up (as the command line writes a
// large picture), hold the rules' picture on a fresh canvas; a fault comes before any band.
TEST_F(OracleMatch, BandsOfRowsHoldThePictureOfTheRules) {
    const auto drawInBands = [](const Scene& scene, float zoom, bool shaded, bool hidden,
                                std::int32_t rows, bool bottomUp) {
        const auto projected = ProjectScene(scene, kAngles[0], zoom, 83, 61);
        PixelBuffer banded(83, 61);
        std::vector<std::int32_t> tops;
        const std::string fault = testing::FaultText([&] {
            DrawInBands(*projected, zoom, shaded, hidden, 83, 61, rows, bottomUp,
                        [&](std::int32_t top, const PixelBuffer& band) {
                            tops.push_back(top);
                            for (std::int32_t y = 0; y < band.height(); ++y)
                                for (std::int32_t x = 0; x < band.width(); ++x)
                                    banded.setPixel(x, top + y, band.pixel(x, y));
                        });
        });
        const testing::OracleOutcome rules =
            testing::OracleDraw(*projected, {zoom, shaded, hidden}, PixelBuffer(83, 61), {});
        EXPECT_EQ(fault, rules.fault);
        std::vector<std::int32_t> expected;
        for (std::int32_t top = 0; top < 61 && fault == "no fault"; top += rows)
            expected.push_back(top);
        if (bottomUp)
            std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(tops, expected) << rows << " rows";
        if (fault == "no fault") {
            const testing::Disagreement differ = testing::Compare(rules, banded);
            EXPECT_EQ(differ.pixels, 0u)
                << shaded << hidden << ", " << rows << " rows, first at " << differ.first;
        }
    };
    for (const bool shaded : {true, false})
        for (const bool hidden : {false, true}) {
            for (const auto& [rows, bottomUp] :
                 {std::pair{7, true}, {1, false}, {23, false}, {100, true}})
                drawInBands(Terrain(24), 0.751f, shaded, hidden, rows, bottomUp);
            drawInBands(Jumble(1, 1.0f, true), 1e5f, shaded, hidden, 7, true);
        }
}

// A canvas other than a PixelCanvas gets one polygon call per triangle; the picture is the same.
class ForwardingCanvas : public Canvas {
  public:
    explicit ForwardingCanvas(PixelBuffer& picture) : m_canvas(picture) {}
    void polygon(Point a, Point b, Point c) override {
        take();
        m_canvas.polygon(a, b, c);
    }
    void rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                   std::int32_t bottom) override {
        take();
        m_canvas.rectangle(left, top, right, bottom);
    }

  private:
    void take() {
        m_canvas.brushStyle = brushStyle, m_canvas.brushColour = brushColour;
        m_canvas.penColour = penColour;
    }
    PixelCanvas m_canvas;
};

TEST_F(OracleMatch, OtherCanvasesGetThePolygonsOneByOne) {
    const Scene terrain = Terrain(16);
    for (const bool shaded : {true, false}) {
        TriangleList = terrain;
        ShadedMode = shaded;
        PixelBuffer fast(40, 30), oneByOne(40, 30);
        PixelCanvas fastCanvas(fast);
        ForwardingCanvas forwarding(oneByOne);
        ASSERT_TRUE(RenderScene(fastCanvas, 40, 30));
        ASSERT_TRUE(RenderScene(forwarding, 40, 30));
        EXPECT_EQ(fast.pixels(), oneByOne.pixels());
        EXPECT_EQ(fastCanvas.penColour, forwarding.penColour);
    }
}

TEST_F(OracleMatch, ProjectionFaultsAndEmptyScenes) {
    Scene overflowing;
    overflowing.push_back({{3e38f, 3e38f, 0}, {1, 0, 0}, {0, 1, 0}, 120});
    Scene onTheDepthAxis;
    onTheDepthAxis.push_back({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 216});
    for (const Scene& scene : {overflowing, onTheDepthAxis, Scene()})
        for (const bool shaded : {true, false})
            ExpectAsTheRulesDraw(scene, {{20, 60, 90, 180}, 0.751f, shaded, false, {}, 16, 12});
}

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
    {"a steep sliver's edge behind a flat surface",
     {{{0, 0, 7}, {30, 0, 7}, {0, 30, 7}, 216}, {{10, 10, 5}, {12, 10, 8}, {12, 10, 8}, 120}}},
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
                SCOPED_TRACE(::testing::Message()
                             << c.name << " shaded " << shaded << " hidden " << hidden);
                PixelBuffer picture = testing::Patterned(kWidth, kHeight);
                PixelCanvas canvas(picture);
                canvas.brushStyle = kStart.brushStyle, canvas.brushColour = kStart.brushColour;
                canvas.penColour = kStart.penColour;
                const std::string fault = testing::FaultText(
                    [&] { DrawProjected(scene, c.zoom, shaded, canvas, hidden); });
                const testing::OracleOutcome rules = testing::OracleDraw(
                    scene, {c.zoom, shaded, hidden}, testing::Patterned(kWidth, kHeight), kStart);
                EXPECT_EQ(std::tie(fault, canvas.brushStyle, canvas.penColour, canvas.brushColour),
                          std::tie(rules.fault, rules.canvas.brushStyle, rules.canvas.penColour,
                                   rules.canvas.brushColour));
                const testing::Disagreement differ = testing::Compare(rules, picture);
                EXPECT_EQ(differ.pixels, 0u) << "first at " << differ.first;
            }
    }
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
