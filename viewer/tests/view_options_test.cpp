// What the pixel oracle takes from the projection as given: proportions, the eye's distance
// and the fault of a corner at the eye. Hidden surfaces and the perspective's corners are
// held against the rules in oracle_match_test and oracle_cases_test.
#include <gtest/gtest.h>

#include <algorithm>

#include "draw.h"
#include "fault_text.h"
#include "pixel_buffer.h"
#include "projection.h"
#include "scene.h"

namespace quarn {
namespace {

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
