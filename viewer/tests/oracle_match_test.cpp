// The viewer's rendering of whole scenes against the drawing worked out pixel by pixel from
// its rules (oracle_renderer): every picture, the canvas state it leaves, the result and any
// fault, in file order and with hidden surfaces, stretched, in proportion and in perspective.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "draw.h"
#include "fault_text.h"
#include "oracle_renderer.h"
#include "pixel_buffer.h"
#include "scene.h"
#include "scripted_ui.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {
// A terrain laid out as the 3DF writer lays out its grid, vertices shared, with hills in all
// four height classes and a flat sea at height 0.
Scene Terrain(int side) {
    std::vector<Vertex> vertices;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const float x = -1.0f + 2.0f * float(j) / float(side - 1);
            const float y = 1.0f - 2.0f * float(i) / float(side - 1);
            const float h = std::max(0.0f, 0.7f * std::cos(std::hypot(x - 0.2f, y) * 2.5f)) +
                            0.1f * std::sin(7 * x * y);
            vertices.push_back({x, y * 0.75f, std::max(0.0f, h) * 0.25f});
        }
    }
    const auto code = [&](std::int32_t k) {
        const float z = vertices[std::size_t(k)].z;
        return z <= 0 ? 216 : z < 0.075f ? 120 : z < 0.15f ? 24 : 32767;
    };
    std::vector<Triangle> triangles;
    for (std::int32_t i = 0; i + 1 < side; ++i) {
        for (std::int32_t j = 0; j + 1 < side; ++j) {
            const std::int32_t k = i * side + j;
            triangles.push_back({k, k + 1, k + side + 1, code(k + 1)});
            triangles.push_back({k, k + side + 1, k + side, code(k + side)});
        }
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
    out.fault = testing::FaultText([&] { out.drawn = RenderScene(canvas, v.width, v.height, options); });
    out.canvas = {canvas.brushStyle, canvas.brushColour, canvas.penColour};
    ProjectedList.reset();
    return out;
}

void ExpectAsTheRulesDraw(const Scene& scene, const View& v) {
    const testing::OracleOutcome fast = Rendered(scene, v);
    const testing::OracleOutcome rules =
        testing::OracleRender(scene, v.angles, v.options, {v.zoom, v.shaded, v.hidden},
                              testing::Patterned(v.width, v.height), kEarlier);
    const std::string view = "at " + std::to_string(v.angles.observerElevation) + "/" +
                             std::to_string(v.angles.observerAzimuth) + " zoom " +
                             std::to_string(v.zoom) + (v.shaded ? " shaded" : " wire") +
                             (v.hidden ? " hidden" : "") +
                             (v.options.keepProportions ? " in proportion" : "") +
                             (v.options.eyeDistance > 0 ? " in perspective" : "");
    EXPECT_EQ(fast.fault, rules.fault) << view;
    EXPECT_EQ(fast.drawn, rules.drawn) << view;
    EXPECT_EQ(fast.canvas.brushStyle, rules.canvas.brushStyle) << view;
    EXPECT_EQ(fast.canvas.brushColour, rules.canvas.brushColour) << view;
    EXPECT_EQ(fast.canvas.penColour, rules.canvas.penColour) << view;
    const testing::Disagreement differ = testing::Compare(rules, fast.picture);
    EXPECT_EQ(differ.pixels, 0u) << view << ", first at " << differ.first;
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

// Bands of rows handed on bottom up, as the command line writes a large picture, hold the
// rules' picture on a fresh canvas; a fault comes before the first band.
TEST_F(OracleMatch, BandsOfRowsHoldThePictureOfTheRules) {
    const auto drawInBands = [](const Scene& scene, float zoom, bool shaded, bool hidden) {
        const auto projected = ProjectScene(scene, kAngles[0], zoom, 83, 61);
        PixelBuffer banded(83, 61);
        int bands = 0;
        const std::string fault = testing::FaultText([&] {
            DrawInBands(*projected, zoom, shaded, hidden, 83, 61, 7, true,
                        [&](std::int32_t top, const PixelBuffer& band) {
                            ++bands;
                            for (std::int32_t y = 0; y < band.height(); ++y)
                                for (std::int32_t x = 0; x < band.width(); ++x)
                                    banded.setPixel(x, top + y, band.pixel(x, y));
                        });
        });
        const testing::OracleOutcome rules =
            testing::OracleDraw(*projected, {zoom, shaded, hidden}, PixelBuffer(83, 61), {});
        EXPECT_EQ(fault, rules.fault);
        EXPECT_EQ(bands, fault == "no fault" ? 9 : 0);
        if (fault == "no fault") {
            const testing::Disagreement differ = testing::Compare(rules, banded);
            EXPECT_EQ(differ.pixels, 0u) << shaded << hidden << ", first at " << differ.first;
        }
    };
    for (const bool shaded : {true, false})
        for (const bool hidden : {false, true}) {
            drawInBands(Terrain(24), 0.751f, shaded, hidden);
            drawInBands(Jumble(1, 1.0f, true), 1e5f, shaded, hidden);
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

}  // namespace
}  // namespace quarn
