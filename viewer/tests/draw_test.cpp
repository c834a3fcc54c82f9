#include "draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fault_text.h"
#include "pixel_buffer.h"
#include "projection.h"
#include "scene.h"
#include "scripted_ui.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

constexpr int kSize = 21;

// The shading's worked triangle in view space: at zoom 1 its corners (x', z') = (1, -1),
// (-1, 0), (0, 1) land on the pixels (20, 20), (0, 10) and (10, 0).
constexpr Vec3 kP1{1, 5, -1}, kP2{-1, 5, 0}, kP3{0, 5, 1};
constexpr Vec3 kFrontLight{0, -5, 0}, kSideLight{3, -4, 0};

ProjectedScene Front(std::vector<std::int32_t> codes, Vec3 sun) {
    std::vector<ProjectedTriangle> triangles;
    for (const std::int32_t code : codes)
        triangles.push_back({kP1, kP2, kP3, code});
    ProjectedScene scene = testing::Projected(triangles);
    scene.rotatedSun = sun;
    SetWorldWindow(scene.mapping, -1, -1, 1, 1);
    SetDeviceViewport(scene.mapping, 0, 0, kSize - 1, kSize - 1);
    return scene;
}

class Drawing : public ::testing::Test {
  protected:
    void Draw(const ProjectedScene& scene, bool shaded, float zoom = 1.0f) {
        DrawProjected(scene, zoom, shaded, canvas);
    }
    PixelBuffer picture{kSize, kSize};
    PixelCanvas canvas{picture};
};

TEST_F(Drawing, WireTriangleShowsWhiteEdgesOverABlackInside) {
    Draw(Front({216}, kFrontLight), false);
    for (const auto& [x, y] : {std::pair{20, 20}, {0, 10}, {10, 0}, {10, 15}, {5, 5}, {15, 10}})
        EXPECT_EQ(picture.pixel(x, y), kWhite) << x << "," << y;
    EXPECT_EQ(picture.pixel(10, 10), kBlack);
    EXPECT_EQ(picture.pixel(2, 2), kBlack);
    EXPECT_EQ(canvas.penColour, kWhite);
    EXPECT_EQ(canvas.brushStyle, BrushStyle::Clear);
}

// A later triangle covers the earlier.
TEST_F(Drawing, ShadedTrianglesTakeTheirWorkedColoursEdgesIncluded) {
    const struct {
        std::vector<std::int32_t> codes;
        Vec3 light;
        Colour colour;
    } cases[] = {{{216}, kFrontLight, 0xFF6600},  // (0, 102, 255)
                 {{24}, kSideLight, 0x0567FA},    // (250, 103, 5)
                 {{120, 216}, kFrontLight, 0xFF6600},
                 {{216, 120}, kFrontLight, 0x00FF00}};
    for (const auto& c : cases) {
        Draw(Front(c.codes, c.light), true);
        for (const auto& [x, y] : {std::pair{10, 10}, {20, 20}, {0, 10}, {10, 0}})
            EXPECT_EQ(picture.pixel(x, y), c.colour) << c.codes.back() << " at " << x << "," << y;
        EXPECT_EQ(picture.pixel(2, 2), kBlack);
        EXPECT_EQ(canvas.penColour, c.colour);  // the last polygon's colour stays the pen
    }
}

TEST_F(Drawing, StartingZoomShrinksTowardsTheOriginLeavingABlackBorder) {
    Draw(Front({216}, kFrontLight), false, 0.751f);
    for (int x = 0; x < kSize; ++x)
        EXPECT_EQ(picture.pixel(x, 20), kBlack) << x;
    EXPECT_EQ(picture.pixel(10, 2), kWhite);  // (0, 0.751) is 2.49 rows below the top
}

// Overlapping triangles at several depths, some reaching past the picture, fitted to a picture
// of width x height.
ProjectedScene Overlapping(std::int32_t width, std::int32_t height) {
    std::vector<ProjectedTriangle> triangles;
    for (int i = 0; i < 40; ++i) {
        const float x = static_cast<float>(i % 7) / 4 - 1, z = static_cast<float>(i % 5) / 3 - 1;
        const auto depth = static_cast<float>(i * 7 % 11);
        triangles.push_back({{x, depth, z},
                             {x + 0.9f, depth + 1, z - 0.3f},
                             {x + 0.2f, depth - 1, z + 1.1f},
                             i % 2 != 0 ? 120 : 216});
    }
    ProjectedScene scene = testing::Projected(triangles);
    scene.rotatedSun = kSideLight;
    SetWorldWindow(scene.mapping, -1, -1, 1, 1);
    SetDeviceViewport(scene.mapping, 0, 0, width - 1, height - 1);
    return scene;
}

// Each band holds what drawing the whole picture gives its rows, in every mode and whichever
// way the bands come. The largest picture is drawn whole in bands of rows on the cores and in
// bands by triangles here, so both ways of sharing the work meet.
TEST(DrawInBands, EachBandHoldsTheRowsOfTheWholeDrawing) {
    const struct {
        std::int32_t width, height;
        std::vector<std::int32_t> bandRows;
    } sizes[] = {{37, 23, {1, 5, 23, 100}}, {1025, 1024, {512}}};
    for (const auto& size : sizes) {
        const ProjectedScene scene = Overlapping(size.width, size.height);
        for (const bool shaded : {false, true})
            for (const bool hidden : {false, true}) {
                PixelBuffer whole(size.width, size.height);
                PixelCanvas canvas(whole);
                DrawProjected(scene, 1.0f, shaded, canvas, hidden);
                for (const std::int32_t rows : size.bandRows)
                    for (const bool bottomUp : {false, true}) {
                        PixelBuffer banded(size.width, size.height, 0x123456);
                        std::vector<std::int32_t> tops;
                        DrawInBands(scene, 1.0f, shaded, hidden, size.width, size.height, rows,
                                    bottomUp, [&](std::int32_t top, const PixelBuffer& band) {
                                        tops.push_back(top);
                                        for (std::int32_t y = 0; y < band.height(); ++y)
                                            for (std::int32_t x = 0; x < band.width(); ++x)
                                                banded.setPixel(x, top + y, band.pixel(x, y));
                                    });
                        std::vector<std::int32_t> expected;
                        for (std::int32_t top = 0; top < size.height; top += rows)
                            expected.push_back(top);
                        if (bottomUp)
                            std::reverse(expected.begin(), expected.end());
                        EXPECT_EQ(tops, expected);
                        EXPECT_TRUE(banded.pixels() == whole.pixels())
                            << size.width << " x " << size.height << ", shaded " << shaded
                            << ", hidden " << hidden << ", rows " << rows;
                    }
            }
    }
}

// A whole drawing would stop at the faulting triangle and raise the fault; in bands nothing
// is handed on first.
TEST(DrawInBands, AFaultComesBeforeAnyBand) {
    ProjectedScene scene = Overlapping(kSize, kSize);
    scene.vertices.x[7] = 1e30f;  // a corner far beyond the 32-bit pixels
    int bands = 0;
    EXPECT_EQ(testing::FaultText([&] {
                  DrawInBands(scene, 1.0f, true, false, kSize, kSize, 5, false,
                              [&](std::int32_t, const PixelBuffer&) { ++bands; });
              }),
              "Invalid floating point operation");
    EXPECT_EQ(bands, 0);
}

// The viewer's rendering binds the program-wide scene and settings to the steps above.
class Rendering : public Drawing {
  protected:
    void SetUp() override {
        testing::ResetViewerState();
        ObserverElevation = 0, ObserverAzimuth = 0;
        ZoomFactor = 1.0f;
        ShadedMode = false;
    }
    quarn::testing::ScriptedUi ui;
};

// Seen from the front, the tent's x and z are the picture's axes.
const SceneTriangle kTent{{-1, 0, -1}, {1, 0, -1}, {0, 0, 1}, 120};

TEST_F(Rendering, ClearsWithTheCurrentPenAndRestoresOnlyTheBrush) {
    TriangleList = {kTent};
    canvas.brushColour = 0x123456;
    ASSERT_TRUE(RenderScene(canvas, kSize, kSize));
    EXPECT_EQ(canvas.brushColour, 0x123456u);
    EXPECT_EQ(canvas.brushStyle, BrushStyle::Solid);
    EXPECT_EQ(picture.pixel(5, 10), kWhite);
    TriangleList.clear();
    ASSERT_TRUE(RenderScene(canvas, kSize, kSize));
    EXPECT_EQ(picture.pixel(5, 0), kWhite);   // outlined with the pen the wire frame left
    EXPECT_EQ(picture.pixel(5, 10), kBlack);  // the old edge is cleared
    EXPECT_FALSE(ProjectedList);              // the drawing consumed the projection
    // The outline stops one short of the last column and row, which are black all the same.
    EXPECT_EQ(picture.pixel(kSize - 2, 5), kWhite);
    for (int i = 0; i < kSize; ++i) {
        EXPECT_EQ(picture.pixel(kSize - 1, i), kBlack) << "last column, row " << i;
        EXPECT_EQ(picture.pixel(i, kSize - 1), kBlack) << "last row, column " << i;
    }
}

TEST_F(Rendering, FailedProjectionKeepsThePictureAndEmptiesTheScene) {
    TriangleList = {kTent};
    ASSERT_TRUE(RenderScene(canvas, kSize, kSize));
    const float publishedScale = g_WindowMapping.sx;
    TriangleList = {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 120}};  // on the depth axis
    EXPECT_FALSE(RenderScene(canvas, kSize, kSize));
    EXPECT_EQ(picture.pixel(5, 10), kWhite);
    EXPECT_EQ(g_WindowMapping.sx, publishedScale);
    EXPECT_TRUE(TriangleList.empty());
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Division by zero!"});
}

}  // namespace
}  // namespace quarn
