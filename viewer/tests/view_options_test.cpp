#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "draw.h"
#include "pixel_buffer.h"
#include "platform_error.h"
#include "projection.h"
#include "scene.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

constexpr int kSize = 21;

// View-space triangles drawn at zoom 1 into a 21 x 21 picture whose window is -1..1 on both
// axes: (x', z') = (-1, 1) is pixel (0, 0), (1, -1) pixel (20, 20).
ProjectedScene InView(const std::vector<ProjectedTriangle>& triangles) {
    ProjectedScene scene = testing::Projected(triangles);
    scene.rotatedSun = {0, 10, 0};
    SetWorldWindow(scene.mapping, -1, -1, 1, 1);
    SetDeviceViewport(scene.mapping, 0, 0, kSize - 1, kSize - 1);
    return scene;
}

PixelBuffer Drawn(const ProjectedScene& scene, bool shaded, bool hiddenSurfaces) {
    PixelBuffer picture(kSize, kSize);
    PixelCanvas canvas(picture);
    DrawProjected(scene, 1.0f, shaded, canvas, hiddenSurfaces);
    return picture;
}

// Two triangles over the same pixels at depths 1 and 2, colour codes 120 and 216.
ProjectedTriangle AtDepth(float depth, std::int32_t code) {
    return {{-1, depth, -1}, {1, depth, -1}, {0, depth, 1}, code};
}

TEST(HiddenSurfaces, TheNearerTriangleShowsWhicheverComesFirstAndEqualDepthGoesToTheLater) {
    const ProjectedTriangle nearer = AtDepth(2, 120), farther = AtDepth(1, 216);
    const Colour nearerColour = Drawn(InView({nearer}), true, false).pixel(10, 10);
    const Colour fartherColour = Drawn(InView({farther}), true, false).pixel(10, 10);
    ASSERT_NE(nearerColour, fartherColour);
    for (const auto& order : {std::vector{nearer, farther}, std::vector{farther, nearer}}) {
        const PixelBuffer hidden = Drawn(InView(order), true, true);
        for (const auto& [x, y] : {std::pair{10, 10}, {10, 1}, {1, 20}, {19, 20}})
            EXPECT_EQ(hidden.pixel(x, y), nearerColour) << x << "," << y;
        EXPECT_EQ(Drawn(InView(order), true, false).pixel(10, 10),
                  order.back().colour == 120 ? nearerColour : fartherColour);
    }
    EXPECT_EQ(Drawn(InView({AtDepth(1, 120), farther}), true, true).pixel(10, 10), fartherColour);
}

// A wire triangle at depth 1 behind a nearer one at depth 2 that covers its lower left corner:
// the covered parts of its edges stay black, the rest and the nearer outline show.
TEST(HiddenSurfaces, WireEdgesBehindANearerSurfaceAreLeftOut) {
    const ProjectedTriangle back = AtDepth(1, 216);
    const ProjectedTriangle front{{-1.5f, 2, -1.5f}, {0, 2, -1.5f}, {-1.5f, 2, 0}, 120};
    const PixelBuffer plain = Drawn(InView({back, front}), false, false);
    const PixelBuffer hidden = Drawn(InView({back, front}), false, true);
    for (const auto& [x, y] : {std::pair{2, 20}, {1, 18}})  // on the back edges, under the front
        EXPECT_EQ(plain.pixel(x, y), kWhite) << x << "," << y;
    for (const auto& [x, y] : {std::pair{2, 20}, {1, 18}})
        EXPECT_EQ(hidden.pixel(x, y), kBlack) << x << "," << y;
    for (const auto& [x, y] : {std::pair{15, 20}, {10, 0}, {15, 10}, {5, 20}})  // uncovered
        EXPECT_EQ(hidden.pixel(x, y), kWhite) << x << "," << y;
}

// The bounding box of the picture's lit pixels, as {width, height}.
std::pair<int, int> LitSize(const PixelBuffer& picture) {
    int left = picture.width(), right = -1, top = picture.height(), bottom = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != kBlack) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    return {right - left + 1, bottom - top + 1};
}

// A flat 2 x 1 rectangle seen from straight above in a square picture: stretched it fills the
// picture, with its proportions kept it fills a 2:1 band across the middle.
TEST(KeepProportions, AFlatTwoByOneRectangleFillsATwoToOneArea) {
    const std::vector<SceneTriangle> rectangle{{{-1, -0.5f, 0}, {1, -0.5f, 0}, {1, 0.5f, 0}, 120},
                                               {{-1, -0.5f, 0}, {1, 0.5f, 0}, {-1, 0.5f, 0}, 120}};
    const ViewAngles fromAbove{90, 0, 90, 180};
    for (const bool keep : {false, true}) {
        const auto projected =
            ProjectScene(Scene(rectangle), fromAbove, 1.0f, 41, 41, ProjectionOptions{keep, 0});
        ASSERT_TRUE(projected);
        PixelBuffer picture(41, 41);
        PixelCanvas canvas(picture);
        DrawProjected(*projected, 1.0f, true, canvas);
        const auto [width, height] = LitSize(picture);
        EXPECT_EQ(width, 41) << keep;
        EXPECT_NEAR(height, keep ? 21 : 41, 1) << keep;
    }
}

// Two equal edges along x', one nearer the eye (larger y') than the other, seen from the side.
TEST(Perspective, TheNearerOfTwoEqualEdgesIsLongerAndNothingMayStandBehindTheEye) {
    const std::vector<SceneTriangle> edges{{{-1, 1, 0}, {1, 1, 0}, {0, 1, 0.5f}, 120},
                                           {{-1, -1, 0}, {1, -1, 0}, {0, -1, 0.5f}, 120}};
    const ViewAngles fromTheSide{0, 0, 90, 180};
    const auto length = [](const ProjectedScene& scene, std::size_t i) {
        const ProjectedTriangle t = scene.triangle(i);
        return t.corner2.x - t.corner1.x;
    };
    const Scene scene(edges);
    const auto parallel = ProjectScene(scene, fromTheSide, 1.0f, 50, 50);
    const auto perspective = ProjectScene(scene, fromTheSide, 1.0f, 50, 50, {false, 3.0f});
    ASSERT_TRUE(parallel && perspective);
    EXPECT_FLOAT_EQ(length(*parallel, 0), length(*parallel, 1));
    EXPECT_FLOAT_EQ(length(*perspective, 0), 3.0f);  // 2 / (1 - 1/3)
    EXPECT_FLOAT_EQ(length(*perspective, 1), 1.5f);  // 2 / (1 + 1/3)
    try {
        ProjectScene(scene, fromTheSide, 1.0f, 50, 50, {false, 1.0f});
        ADD_FAILURE() << "a corner at the eye was divided";
    } catch (const PlatformError& e) {
        EXPECT_STREQ(e.what(), "Floating point division by zero");
    }
}

// The eye stands in front of the scene's middle, not of the world's origin: a plateau 2000
// units up, seen from above at the load's distance, stood behind an eye placed from the
// origin. Its picture is the same wherever the plateau lies in the world, nearer parts larger.
TEST(Perspective, TheEyeStandsInFrontOfTheSceneWhereverItLies) {
    const auto plateau = [](float up) {
        return Scene{{{-1, -1, up}, {1, -1, up}, {-1, 1, up + 0.1f}, 120},
                     {{1, -1, up}, {1, 1, up + 0.1f}, {-1, 1, up + 0.1f}, 120}};
    };
    const ViewAngles fromAbove{90, 0, 90, 180};
    const ProjectionOptions eye{false, 3.0f};
    const auto low = ProjectScene(plateau(0), fromAbove, 1.0f, 50, 50, eye);
    const auto high = ProjectScene(plateau(2000), fromAbove, 1.0f, 50, 50, eye);
    ASSERT_TRUE(low && high);
    for (std::size_t i = 0; i < 2; ++i) {  // up to the rounding of 2000.1 in 32 bits
        const ProjectedTriangle a = low->triangle(i), b = high->triangle(i);
        for (const auto& [p, q] :
             {std::pair{a.corner1, b.corner1}, {a.corner2, b.corner2}, {a.corner3, b.corner3}}) {
            EXPECT_NEAR(p.x, q.x, 1e-4);
            EXPECT_NEAR(p.z, q.z, 1e-4);
        }
    }
    const ProjectedTriangle t = high->triangle(0);  // the raised edge is nearer the eye
    EXPECT_GT(std::fabs(t.corner3.x), std::fabs(t.corner1.x));
}

// The view options reach the projection: the eye at the magnitude of the (negative)
// perspective distance, and only while it is above 1e-9.
TEST(Perspective, TheEyeStandsAtTheMagnitudeOfThePerspectiveDistance) {
    EXPECT_EQ(ProjectionOptionsFor({}, kStartPerspectiveDistance).eyeDistance, 0.0f);
    const ViewOptions both{.hiddenSurfaces = false, .keepProportions = true, .perspective = true};
    EXPECT_EQ(ProjectionOptionsFor(both, -7.5f).eyeDistance, 7.5f);
    EXPECT_TRUE(ProjectionOptionsFor(both, -7.5f).keepProportions);
    EXPECT_EQ(ProjectionOptionsFor(both, 0).eyeDistance, 0.0f);
}

}  // namespace
}  // namespace quarn
