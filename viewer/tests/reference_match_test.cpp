// The viewer's renderer against the first, one-triangle-at-a-time renderer kept in
// reference_renderer: every picture, the canvas state it leaves, the result and any fault must
// be the same.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "draw.h"
#include "fault_text.h"
#include "pixel_buffer.h"
#include "reference_renderer.h"
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
            vertices.push_back({x * 4000, y * 3000, std::max(0.0f, h) * 500});
        }
    }
    const auto code = [&](std::int32_t k) {
        const float z = vertices[std::size_t(k)].z;
        return z <= 0 ? 216 : z < 150 ? 120 : z < 300 ? 24 : 32767;
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

// Triangles strewn over one another in file order, some huge, some degenerate, with odd hues.
Scene Jumble(unsigned seed, float spread) {
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
        if (n % 13 == 8)
            t.corner3 = {t.corner1.x * 1e4f, t.corner1.y, -t.corner1.z * 1e4f};  // far out
        t.colour = hues[std::size_t(n) % std::size(hues)];
        scene.push_back(t);
    }
    return scene;
}

struct Outcome {
    bool drawn = false;
    std::string fault;
    PixelBuffer picture{1, 1};
    BrushStyle brushStyle = BrushStyle::Solid;
    Colour brushColour = 0, penColour = 0;
};

struct View {
    ViewAngles angles;
    float zoom;
    bool shaded;
    int width, height;
};

Colour Garbage(int x, int y) {
    return Colour(x * 7919 + y * 104729) & 0xFFFFFFu;
}

PixelBuffer EarlierPicture(int width, int height) {
    PixelBuffer picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, Garbage(x, y));
    return picture;
}

constexpr Colour kEarlierPen = 0x00AB12;

Outcome Fast(const Scene& scene, const View& v) {
    testing::ScriptedUi ui;
    TriangleList = scene;
    ObserverElevation = v.angles.observerElevation, ObserverAzimuth = v.angles.observerAzimuth;
    SunElevation = v.angles.sunElevation, SunAzimuth = v.angles.sunAzimuth;
    ZoomFactor = v.zoom;
    ShadedMode = v.shaded;
    Outcome out;
    out.picture = EarlierPicture(v.width, v.height);
    PixelCanvas canvas(out.picture);
    canvas.penColour = kEarlierPen;
    out.fault = testing::FaultText([&] { out.drawn = RenderScene(canvas, v.width, v.height); });
    out.brushStyle = canvas.brushStyle, out.brushColour = canvas.brushColour;
    out.penColour = canvas.penColour;
    ProjectedList.reset();
    return out;
}

Outcome Reference(const Scene& scene, const View& v) {
    const std::vector<SceneTriangle> corners(scene.begin(), scene.end());
    Outcome out;
    out.picture = EarlierPicture(v.width, v.height);
    testing::ReferenceCanvas canvas;
    canvas.penColour = kEarlierPen;
    out.fault = testing::FaultText([&] {
        out.drawn = ReferenceRender(corners, v.angles, v.zoom, v.shaded, out.picture, canvas);
    });
    out.brushStyle = canvas.brushStyle, out.brushColour = canvas.brushColour;
    out.penColour = canvas.penColour;
    return out;
}

void ExpectSame(const Scene& scene, const View& v) {
    const Outcome fast = Fast(scene, v), reference = Reference(scene, v);
    const std::string view = "at " + std::to_string(v.angles.observerElevation) + "/" +
                             std::to_string(v.angles.observerAzimuth) + " zoom " +
                             std::to_string(v.zoom) + (v.shaded ? " shaded" : " wire");
    EXPECT_EQ(fast.fault, reference.fault) << view;
    EXPECT_EQ(fast.drawn, reference.drawn) << view;
    EXPECT_EQ(fast.brushStyle, reference.brushStyle) << view;
    EXPECT_EQ(fast.brushColour, reference.brushColour) << view;
    EXPECT_EQ(fast.penColour, reference.penColour) << view;
    std::size_t differ = 0;
    for (std::size_t i = 0; i < fast.picture.pixels().size(); ++i)
        differ += fast.picture.pixels()[i] != reference.picture.pixels()[i];
    EXPECT_EQ(differ, 0u) << "pixels differ " << view;
}

class ReferenceMatch : public ::testing::Test {
  protected:
    void SetUp() override { testing::ResetViewerState(); }
    void TearDown() override { testing::ResetViewerState(); }
};

TEST_F(ReferenceMatch, TerrainFromAllSidesAndTheSunAnywhere) {
    const Scene terrain = Terrain(48);
    const ViewAngles angles[] = {{20, 60, 90, 180},  {0, 0, 90, 180},  {90, 0, 45, 30},
                                 {35, 215, 10, 300}, {355, 120, 0, 0}, {180, 90, 270, 5}};
    for (const ViewAngles& a : angles)
        for (const bool shaded : {true, false})
            ExpectSame(terrain, {a, 0.751f, shaded, 83, 61});
    // A picture this large is drawn in bands of rows rather than in shares of the triangles.
    ExpectSame(terrain, {angles[0], 0.751f, true, 1100, 1000});
}

TEST_F(ReferenceMatch, ZoomFromAPointToBeyondThePixelRange) {
    const Scene terrain = Terrain(24);
    // Somewhere past 1e3 the farthest corners leave the 32-bit pixel range and the drawing
    // faults; a zoom of 1e38 overflows the corner products.
    for (const float zoom : {1e-6f, 0.05f, 1.0f, 13.3f, 1e3f, 1.5e4f, 3e4f, 1e38f})
        for (const bool shaded : {true, false})
            ExpectSame(terrain, {{30, 40, 90, 180}, zoom, shaded, 64, 48});
}

// At zoom 1e5 the far-out corners leave the pixel range: the drawing faults part-way, after
// the triangles before them. Spread over 3e7 the shading overflows.
TEST_F(ReferenceMatch, OverlapsDegenerateAndHugeTrianglesInFileOrder) {
    for (const unsigned seed : {1u, 2u, 3u})
        for (const auto& [spread, zoom] : {std::pair{1.0f, 0.9f}, {1.0f, 1e5f}, {3e7f, 0.9f}})
            for (const bool shaded : {true, false})
                ExpectSame(Jumble(seed, spread), {{25, 70, 60, 100}, zoom, shaded, 57, 43});
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

TEST_F(ReferenceMatch, OtherCanvasesGetThePolygonsOneByOne) {
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

TEST_F(ReferenceMatch, ProjectionFaultsAndEmptyScenes) {
    Scene overflowing;
    overflowing.push_back({{3e38f, 3e38f, 0}, {1, 0, 0}, {0, 1, 0}, 120});
    Scene onTheDepthAxis;
    onTheDepthAxis.push_back({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 216});
    for (const Scene& scene : {overflowing, onTheDepthAxis, Scene()})
        for (const bool shaded : {true, false})
            ExpectSame(scene, {{20, 60, 90, 180}, 0.751f, shaded, 16, 12});
}

}  // namespace
}  // namespace quarn
