// The pictures themselves are held against the rules in oracle_match_test and
// oracle_cases_test; here what the rendering leaves of the program-wide scene.
#include "draw.h"

#include <gtest/gtest.h>

#include <vector>

#include "pixel_buffer.h"
#include "scene.h"
#include "scripted_ui.h"
#include "viewer_test_support.h"

namespace quarn {
namespace {

constexpr int kSize = 21;

TEST(Rendering, FailedProjectionKeepsThePictureAndEmptiesTheScene) {
    testing::ResetViewerState();
    testing::ScriptedUi ui;
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

}  // namespace
}  // namespace quarn
