// The fill and the pen's lines are held against the rules, pixel by pixel, in
// oracle_cases_test; here what the pictures of those tests cannot show.
#include "pixel_buffer.h"
#include "raster_walk.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quarn {
namespace {

// The small-triangle shortcut declines corners whose span overflows 32 bits.
TEST(Fill, TheSmallTriangleWalkDeclinesSpansBeyond32Bits) {
    EXPECT_FALSE(WalkSmallTriangle({1271885163, 0}, {-1268221919, 1}, {0, 2}, 8, 0, 8,
                                   [](Point) { ADD_FAILURE(); }));
}

TEST(PixelAccess, ReadsOutsideThePictureAreRefusedWritesIgnored) {
    PixelBuffer buffer(3, 2);
    for (const Point p : {Point{-1, 0}, Point{3, 0}, Point{0, -1}, Point{0, 2}}) {
        EXPECT_THROW(buffer.pixel(p.x, p.y), std::out_of_range) << p.x << ", " << p.y;
        buffer.setPixel(p.x, p.y, kWhite);
    }
    EXPECT_EQ(buffer.pixels(), std::vector<Colour>(6, kBlack));
}

}  // namespace
}  // namespace quarn
