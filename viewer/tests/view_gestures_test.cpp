// The viewer's gestures as numbers: drags to angles, wheel notches to zoom, and the reduced
// scene drawn while the view moves.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "preview_scene.h"
#include "scene.h"
#include "view_gestures.h"

namespace quarn {
namespace {

TEST(DraggedAngle, TwoPixelsADegreeWrappingRoundTheCircle) {
    const std::tuple<int, int, int> cases[] = {
        {60, 0, 60}, {60, 40, 80},    {60, -40, 40}, {60, 1, 60},    // half a degree: to even
        {60, 3, 62}, {60, -3, 58},    {350, 40, 10}, {5, -20, 355},  // wrapping both ways
        {0, 720, 0}, {0, -1442, 359}, {359, 2, 0},
    };
    for (const auto& [start, pixels, angle] : cases)
        EXPECT_EQ(DraggedAngle(static_cast<std::uint16_t>(start), pixels), angle)
            << start << " + " << pixels << " px";
}

TEST(WheelZoom, ANotchIsTheZoomButtonsStepAndTheEndsHold) {
    EXPECT_EQ(WheelZoom(kStartZoomFactor, 1), ZoomedIn(kStartZoomFactor));
    EXPECT_EQ(WheelZoom(kStartZoomFactor, -2), ZoomedOut(ZoomedOut(kStartZoomFactor)));
    EXPECT_EQ(WheelZoom(kStartZoomFactor, 0), kStartZoomFactor);
    float zoom = kStartZoomFactor;
    for (int notch = 0; notch < 200; ++notch)
        zoom = WheelZoom(zoom, 1);
    EXPECT_LE(zoom, kMostZoom);
    EXPECT_GT(ZoomedIn(zoom), kMostZoom) << "stops a notch before the end";
    EXPECT_EQ(WheelZoom(zoom, 5), zoom);
    zoom = WheelZoom(zoom, -1000);
    EXPECT_GE(zoom, kLeastZoom);
    EXPECT_LT(ZoomedOut(zoom), kLeastZoom);
}

// A grid terrain of side x side vertices, two triangles a square, coloured by row.
Scene Grid(int side) {
    std::vector<Vertex> vertices;
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j)
            vertices.push_back({float(j) / float(side - 1) * 2 - 1,
                                float(i) / float(side - 1) * 2 - 1,
                                float((i * 7 + j * 3) % 11) / 20});
    std::vector<Triangle> triangles;
    for (int i = 0; i + 1 < side; ++i)
        for (int j = 0; j + 1 < side; ++j) {
            const int k = i * side + j, colour = i < side / 2 ? 120 : 216;
            triangles.push_back({k, k + 1, k + side + 1, colour});
            triangles.push_back({k, k + side + 1, k + side, colour});
        }
    Scene scene;
    scene.setVertices(std::move(vertices));
    scene.setTriangles(std::move(triangles));
    return scene;
}

TEST(PreviewScene, ALargeSceneComesDownToTheSameTerrainAtLowerDetail) {
    const Scene full = Grid(301);  // 180,000 triangles
    const Scene preview = PreviewScene(full, 20000);
    EXPECT_LE(preview.size(), 20000u);
    EXPECT_GE(preview.size(), 15000u);
    // The vertices are the scene's own, the colours its own, each triangle a proper one.
    std::set<std::tuple<float, float, float>> original;
    for (const Vertex& v : full.vertices())
        original.emplace(v.x, v.y, v.z);
    for (const Vertex& v : preview.vertices())
        EXPECT_TRUE(original.contains({v.x, v.y, v.z}));
    std::set<std::int32_t> colours;
    std::set<std::tuple<int, int, int>> corners;
    for (const Triangle& t : preview.triangles()) {
        colours.insert(t.colour);
        EXPECT_TRUE(t.a != t.b && t.b != t.c && t.a != t.c);
        int sorted[3] = {t.a, t.b, t.c};
        std::sort(sorted, sorted + 3);
        EXPECT_TRUE(corners.emplace(sorted[0], sorted[1], sorted[2]).second) << "twice";
    }
    EXPECT_EQ(colours, (std::set<std::int32_t>{120, 216}));
}

TEST(PreviewScene, SmallAndFlatScenesStayDrawable) {
    const Scene small = Grid(10);
    EXPECT_EQ(PreviewScene(small, 1000).size(), small.size());
    // All vertices on a line across the plan: a thin strip, never more cells than triangles.
    Scene line;
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
    for (int k = 0; k < 30000; ++k)
        vertices.push_back({float(k), 0, float(k % 3)});
    for (int k = 0; k + 2 < 30000; ++k)
        triangles.push_back({k, k + 1, k + 2, 24});
    line.setVertices(std::move(vertices));
    line.setTriangles(std::move(triangles));
    EXPECT_LE(PreviewScene(line, 1000).size(), 1000u);
}

}  // namespace
}  // namespace quarn
