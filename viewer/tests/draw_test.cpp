#include "draw.h"

#include <gtest/gtest.h>

#include "pixel_buffer.h"
#include "projection.h"
#include "scene.h"
#include "scripted_ui.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

constexpr int kSize = 21;

// Seen from the front (elevation 0, azimuth 0) x and z are the picture's axes; the scene
// reaches 1 along each, so at zoom 1 it spans the whole picture.
class Drawing : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetViewerState();
        ObserverElevation = 0, ObserverAzimuth = 0;
        ZoomFactor = 1.0f;
    }
    void Render() {
        ASSERT_TRUE(Project_Scene(kSize, kSize));
        ClearPicture(canvas, kSize, kSize);
        Draw_and_View(canvas);
    }
    quarn::testing::ScriptedUi ui;
    PixelBuffer picture{kSize, kSize};
    PixelCanvas canvas{picture};
};

const SceneTriangle kTent{
    {-1, 0, -1}, {1, 0, -1}, {0, 0, 1}, 120};  // corners (0,20) (20,20) (10,0)

// The colour the shaded mode gives a triangle, seen unturned as the tests see it.
Colour ShadeOf(const SceneTriangle& t) {
    const auto at = [](Vertex v) { return Vec3{v.x, v.y, v.z}; };
    return ComputeShadedColour(at(t.corner1), at(t.corner2), at(t.corner3), RotatedSun,
                               static_cast<float>(t.colour), 0.2f, 0.4f, 0.4f, 0.5f);
}

TEST_F(Drawing, WireTriangleShowsWhiteEdgesOverABlackInside) {
    ShadedMode = false;
    TriangleList = {kTent};
    Render();
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{0, 20}, {20, 20}, {10, 0}, {10, 20}, {5, 10}, {15, 10}})
        EXPECT_EQ(picture.pixel(x, y), kWhite) << x << "," << y;
    EXPECT_EQ(picture.pixel(10, 12), kBlack);
    EXPECT_EQ(picture.pixel(2, 2), kBlack);
    EXPECT_EQ(canvas.penColour, kWhite);
    EXPECT_EQ(canvas.brushStyle, BrushStyle::Clear);
}

TEST_F(Drawing, ShadedTriangleIsOneColourEdgesIncludedAndLeavesItAsThePen) {
    TriangleList = {kTent};
    Draw_and_View(canvas);  // nothing is drawn without a projection
    EXPECT_EQ(picture.pixel(10, 12), kBlack);
    Render();
    const Colour expected = ShadeOf(kTent);
    EXPECT_NE(expected, kBlack);
    EXPECT_EQ(picture.pixel(10, 12), expected);
    EXPECT_EQ(picture.pixel(10, 20), expected);
    EXPECT_EQ(picture.pixel(0, 20), expected);
    EXPECT_EQ(picture.pixel(2, 2), kBlack);
    EXPECT_EQ(canvas.penColour, expected);
    // The grey code is drawn in a grey.
    TriangleList = {{kTent.corner1, kTent.corner2, kTent.corner3, 32767}};
    Render();
    const Colour c = picture.pixel(10, 12);
    EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
    EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF);
}

TEST_F(Drawing, LaterTriangleCoversTheEarlierWhateverTheDepth) {
    const SceneTriangle nearRed{{-1, -5, -1}, {1, -5, -1}, {0, -5, 1}, 0};
    const SceneTriangle farBlue{{-1, 5, -1}, {1, 5, -1}, {0, 5, 1}, 240};
    for (const auto& order : {std::vector{nearRed, farBlue}, std::vector{farBlue, nearRed}}) {
        TriangleList = order;
        Render();
        EXPECT_EQ(picture.pixel(10, 12), canvas.penColour);  // the last one drawn
        EXPECT_EQ(picture.pixel(10, 12), ShadeOf(order.back()));
    }
}

TEST_F(Drawing, StartingZoomLeavesABlackBorder) {
    ZoomFactor = 0.751f;
    TriangleList = {kTent};
    Render();
    for (int x = 0; x < kSize; ++x)
        EXPECT_EQ(picture.pixel(x, 20), kBlack) << x;
    EXPECT_NE(picture.pixel(10, 12), kBlack);
}

TEST_F(Drawing, RenderingClearsWithTheCurrentPenAndRestoresOnlyTheBrush) {
    ShadedMode = false;
    TriangleList = {kTent};
    canvas.brushColour = 0x123456;
    ASSERT_TRUE(RenderScene(canvas, kSize, kSize));
    EXPECT_EQ(canvas.brushColour, 0x123456u);
    EXPECT_EQ(canvas.brushStyle, BrushStyle::Solid);
    TriangleList.clear();
    ASSERT_TRUE(RenderScene(canvas, kSize, kSize));
    EXPECT_EQ(picture.pixel(5, 0), kWhite);    // outlined with the pen the wire frame left
    EXPECT_EQ(picture.pixel(10, 12), kBlack);  // the old edge at (5, 10) is cleared
    EXPECT_EQ(picture.pixel(5, 10), kBlack);
}

TEST_F(Drawing, FailedProjectionKeepsThePictureAndEmptiesTheScene) {
    TriangleList = {kTent};
    Render();
    const Colour drawn = picture.pixel(10, 12);
    TriangleList = {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 120}};
    EXPECT_FALSE(RenderScene(canvas, kSize, kSize));
    EXPECT_EQ(picture.pixel(10, 12), drawn);
    EXPECT_TRUE(TriangleList.empty());
}

}  // namespace
}  // namespace quarn
