#include "projection.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST_F(Projection, ProgramWideProjectionPublishesItsResult) {
    TriangleList = {{{-1, 0, 0}, {1, 0, 0}, {0, 0, 1}, 120}};
    ASSERT_TRUE(Project_Scene(100, 100));
    ASSERT_TRUE(ProjectedList);
    EXPECT_EQ(ProjectedList->size(), 1u);
    ExpectNear(RotatedSun, {0.0f, 3.4202015f, 9.3969259f}, 1e-5);
    EXPECT_EQ(g_WindowMapping.sx, ProjectedList->mapping.sx);
    EXPECT_EQ(g_WindowMapping.right, 99);
}

// The options handed to the binding reach the projection, the eye at the program-wide distance.
TEST_F(Projection, ProgramWideProjectionTakesTheOptionsItIsHanded) {
    TriangleList = {{{-2, 0, 0}, {1, 1, 0}, {0, -1, 1}, 120},
                    {{1, 0, 0}, {0, 2, 1}, {0, 0, 2}, 24}};
    PerspectiveDistance = -4.0f;
    const ViewOptions cases[] = {
        {}, {false, true, false}, {false, false, true}, {true, true, true}};
    for (const ViewOptions& options : cases) {
        ASSERT_TRUE(Project_Scene(90, 60, options));
        const auto direct = ProjectScene(TriangleList, ViewAngles{}, ZoomFactor, 90, 60,
                                         ProjectionOptionsFor(options, -4.0f));
        ASSERT_TRUE(direct);
        EXPECT_EQ(std::tuple(g_WindowMapping.xmin, g_WindowMapping.xmax, g_WindowMapping.ymin,
                             g_WindowMapping.ymax),
                  std::tuple(direct->mapping.xmin, direct->mapping.xmax, direct->mapping.ymin,
                             direct->mapping.ymax));
        EXPECT_EQ(ProjectedList->vertices.x, direct->vertices.x);
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

}  // namespace
}  // namespace quarn
