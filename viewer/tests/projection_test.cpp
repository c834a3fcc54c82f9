// The projection, the zoom and the view options. Hidden surfaces and the perspective's corners
// are held against the rules, pixel by pixel, in oracle_test.
#include "projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "draw.h"
#include "fault_text.h"
#include "pixel_buffer.h"
#include "scene.h"
#include "scripted_ui.h"
#include "viewer_state.h"
#include "viewer_test_support.h"
#include "window_mapping.h"

namespace quarn {
namespace {

void ExpectNear(Vec3 actual, Vec3 expected, double within = 1e-6) {
    EXPECT_NEAR(actual.x, expected.x, within);
    EXPECT_NEAR(actual.y, expected.y, within);
    EXPECT_NEAR(actual.z, expected.z, within);
}

class Projection : public ::testing::Test {
  protected:
    void SetUp() override { testing::ResetViewerState(); }
};

TEST_F(Projection, ViewMatrixTurnsTheAxesAsWorkedOut) {
    const Mat3 view = ViewMatrixFor(20, 60);
    ExpectNear(MatMulVec({1, 0, 0}, view), {0.5f, 0.8137977f, -0.2961981f});
    ExpectNear(MatMulVec({0, 1, 0}, view), {-0.8660254f, 0.4698463f, -0.1710101f});
    ExpectNear(MatMulVec({0, 0, 1}, view), {0.0f, 0.3420202f, 0.9396926f});
    // Zero angles keep x and z and make y the depth.
    EXPECT_EQ(MatMulVec({0.25f, 0.5f, -0.75f}, ViewMatrixFor(0, 0)), (Vec3{0.25f, 0.5f, -0.75f}));
    // 355 degrees is -5.
    const Mat3 turned = ViewMatrixFor(355, 355);
    EXPECT_NEAR(turned[1], 0.0871557f, 1e-6);  // -sin(-5 degrees)
    EXPECT_NEAR(turned[5], -0.0871557f, 1e-6);
}

TEST_F(Projection, DefaultSunStandsAboveAndTurnsWithTheObserver) {
    ExpectNear(SunPosition(90, 180), {0, 0, 10});
    ExpectNear(RotatedSunFor(ViewAngles{}), {0.0f, 3.4202015f, 9.3969259f}, 1e-5);
}

TEST_F(Projection, KeepsTheSceneOrderAndFitsTheScaledExtentToThePicture) {
    const std::vector<SceneTriangle> scene = {{{-2, 0, -1}, {0, 0, 1}, {1, 0, 0}, 216},
                                              {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, 24}};
    const auto projected = ProjectScene(scene, {0, 0, 90, 180}, 0.751f, 550, 418);
    ASSERT_TRUE(projected);
    ASSERT_EQ(projected->size(), 2u);
    EXPECT_EQ(projected->triangle(0).colour, 216);
    EXPECT_EQ(projected->triangle(1).colour, 24);
    // m = 2 from the smallest x'; k = 0.5.
    const WindowMapping& m = projected->mapping;
    EXPECT_EQ(std::tuple(m.xmin, m.xmax, m.ymin, m.ymax), std::tuple(-1.0f, 0.5f, -0.5f, 0.5f));
    EXPECT_EQ(std::tuple(m.right, m.bottom), std::tuple(549, 417));
}

// The options handed to the binding reach the projection, the eye at the program-wide
// distance; the result, the turned sun and the mapping are published.
TEST_F(Projection, ProgramWideProjectionTakesTheOptionsAndPublishesItsResult) {
    TriangleList = {{{-2, 0, 0}, {1, 1, 0}, {0, -1, 1}, 120},
                    {{1, 0, 0}, {0, 2, 1}, {0, 0, 2}, 24}};
    PerspectiveDistance = -4.0f;
    const ViewOptions cases[] = {
        {}, {false, true, false}, {false, false, true}, {true, true, true}};
    for (const ViewOptions& options : cases) {
        ASSERT_TRUE(Project_Scene(90, 60, options));
        const auto direct = ProjectScene(TriangleList, ViewAngles{}, ZoomFactor, 90, 60,
                                         ProjectionOptionsFor(options, -4.0f));
        ASSERT_TRUE(direct && ProjectedList);
        EXPECT_EQ(std::tuple(g_WindowMapping.xmin, g_WindowMapping.xmax, g_WindowMapping.ymin,
                             g_WindowMapping.ymax, g_WindowMapping.sx, g_WindowMapping.right),
                  std::tuple(direct->mapping.xmin, direct->mapping.xmax, direct->mapping.ymin,
                             direct->mapping.ymax, ProjectedList->mapping.sx, 89));
        EXPECT_EQ(ProjectedList->vertices.x, direct->vertices.x);
        ExpectNear(RotatedSun, {0.0f, 3.4202015f, 9.3969259f}, 1e-5);
    }
}

// Mend: a level terrain seen edge-on used to end with "Floating point division by zero".
TEST_F(Projection, FlatExtentIsCentredInsteadOfFailing) {
    const std::vector<SceneTriangle> scene = {{{-1, 0, 0.5f}, {1, 0, 0.5f}, {0, 1, 0.5f}, 120}};
    const float zoom = 0.751f;
    const auto projected = ProjectScene(scene, {0, 0, 90, 180}, zoom, 550, 418);
    ASSERT_TRUE(projected);
    std::int32_t column = 0, row = 0;
    WorldToDevice(projected->mapping, zoom * 0.0f, zoom * 0.5f, column, row);
    EXPECT_EQ(column, 274);  // the origin, (549 / 2) to even
    EXPECT_GE(row, 208);
    EXPECT_LE(row, 209);
}

TEST(Rendering, FailedProjectionKeepsThePictureAndEmptiesTheScene) {
    testing::ResetViewerState();
    testing::ScriptedUi ui;
    constexpr int kSize = 21;
    PixelBuffer picture(kSize, kSize);
    PixelCanvas canvas(picture);
    TriangleList = {{{-1, 0, -1}, {1, 0, -1}, {0, 0, 1}, 120}};
    ASSERT_TRUE(RenderScene(canvas, kSize, kSize));
    EXPECT_FALSE(ProjectedList);  // the drawing consumed the projection
    const std::vector<Colour> before = picture.pixels();
    const float publishedScale = g_WindowMapping.sx;
    TriangleList = {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 120}};  // on the depth axis
    EXPECT_FALSE(RenderScene(canvas, kSize, kSize));
    EXPECT_EQ(picture.pixels(), before);
    EXPECT_EQ(g_WindowMapping.sx, publishedScale);
    EXPECT_TRUE(TriangleList.empty());
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Division by zero!"});
}

TEST(Zoom, StepsFromTheStartAndBackExactly) {
    EXPECT_EQ(ZoomedIn(0.751f), 0.8260999918f);
    EXPECT_EQ(ZoomedOut(ZoomedIn(0.751f)), 0.751f);
    EXPECT_EQ(ZoomedOut(0.751f), 0.6827272773f);
}

TEST(SpinWrap, PositionsRunThroughZeroTo355) {
    const std::pair<int, int> cases[] = {{360, 0}, {-1, 355}, {355, 355}, {0, 0}, {20, 20}};
    for (const auto& [position, wrapped] : cases)
        EXPECT_EQ(WrappedSpinPosition(position), wrapped) << position;
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
        // The bounding box of the lit pixels.
        int left = 41, right = -1, top = 41, bottom = -1;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 41; ++x)
                if (picture.pixel(x, y) != kBlack) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        EXPECT_EQ(right - left + 1, 41) << keep;
        EXPECT_NEAR(bottom - top + 1, keep ? 21 : 41, 1) << keep;
    }
}

// Edges at y' = 1 and -1 seen from 1 unit in front of their middle: the nearer is at the eye.
TEST(Perspective, NothingMayStandAtTheEye) {
    const Scene edges{{{-1, 1, 0}, {1, 1, 0}, {0, 1, 0.5f}, 120},
                      {{-1, -1, 0}, {1, -1, 0}, {0, -1, 0.5f}, 120}};
    EXPECT_EQ(testing::FaultText([&] {
                  ProjectScene(edges, {0, 0, 90, 180}, 1.0f, 50, 50, {false, 1.0f});
              }),
              "Floating point division by zero");
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
