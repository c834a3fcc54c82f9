#include "pixel_buffer.h"
#include "raster_walk.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace quarn {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels Lit(const PixelBuffer& b) {
    Pixels lit;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != kBlack)
                lit.insert({x, y});
    return lit;
}

Pixels Line(Point a, Point c) {
    PixelBuffer b(32, 32);
    b.drawLine(a, c, kWhite);
    return Lit(b);
}

Pixels Fill(Point a, Point b, Point c, int size = 32) {
    PixelBuffer buffer(size, size);
    buffer.fillTriangle(a, b, c, kWhite);
    return Lit(buffer);
}

TEST(Lines, IncludeBothEndsAndRoundHalvesUp) {
    EXPECT_EQ(Line({2, 5}, {5, 5}), (Pixels{{2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_EQ(Line({7, 1}, {7, 3}), (Pixels{{7, 1}, {7, 2}, {7, 3}}));
    EXPECT_EQ(Line({3, 3}, {1, 5}), (Pixels{{3, 3}, {2, 4}, {1, 5}}));
    EXPECT_EQ(Line({4, 4}, {4, 4}), (Pixels{{4, 4}}));
    // Rounded to the nearest pixel with halves up: y = x / 4: 0, 0.25, 0.5, 0.75, 1.
    EXPECT_EQ(Line({0, 0}, {4, 1}), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}));
}

TEST(Lines, AreTheSameWhicheverWayTheyAreDrawn) {
    for (const auto& [a, b] : std::vector<std::pair<Point, Point>>{
             {{1, 2}, {29, 13}}, {{30, 1}, {3, 27}}, {{5, 28}, {7, 23}}, {{0, 31}, {31, 0}}}) {
        EXPECT_EQ(Line(a, b), Line(b, a));
    }
}

TEST(Fill, TakesThePixelsWhoseCentresAreInside) {
    // Centres (x + 0.5, y + 0.5) with x + y + 1 < 4; the long edge is neither top nor left.
    EXPECT_EQ(Fill({0, 0}, {4, 0}, {0, 4}),
              (Pixels{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}}));
    EXPECT_EQ(Fill({0, 0}, {0, 4}, {4, 0}), Fill({0, 0}, {4, 0}, {0, 4}));  // either winding
}

TEST(Fill, DegenerateTrianglesFillNothingAndHugeOnesEverythingAsFarLinesAreClipped) {
    EXPECT_TRUE(Fill({1, 1}, {5, 5}, {9, 9}).empty());
    EXPECT_TRUE(Fill({3, 3}, {3, 3}, {3, 3}).empty());
    // A huge triangle covers the whole picture.
    EXPECT_EQ(
        Fill({-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}, 8).size(),
        64u);
    EXPECT_EQ(Line({-2000000000, 10}, {2000000000, 10}).size(), 32u);
    EXPECT_TRUE(Line({-2000000000, -5}, {-1000000000, 2000000000}).empty());
    // The small-triangle shortcut declines corners whose span overflows 32 bits.
    EXPECT_FALSE(WalkSmallTriangle({1271885163, 0}, {-1268221919, 1}, {0, 2}, 8, 0, 8,
                                   [](Point) { ADD_FAILURE(); }));
}

TEST(Fill, TrianglesSharingAnEdgeTakeEachPixelOnce) {
    const Pixels upper = Fill({2, 2}, {20, 2}, {20, 17});
    const Pixels lower = Fill({2, 2}, {20, 17}, {2, 17});
    Pixels both;
    for (const auto& p : upper)
        if (lower.count(p))
            both.insert(p);
    EXPECT_TRUE(both.empty());
    EXPECT_EQ(upper.size() + lower.size(), 18u * 15u);
}

TEST(PixelCanvasRectangle, OutlinesWithThePenAndLeavesTheLastColumnAndRow) {
    PixelBuffer buffer(6, 5, kWhite);
    PixelCanvas canvas(buffer);
    canvas.brushColour = kBlack;
    canvas.penColour = 0x0000FF;
    canvas.rectangle(0, 0, 5, 4);
    // Corners of the outline, the inside, then the last column and row.
    EXPECT_EQ(std::tuple(buffer.pixel(0, 0), buffer.pixel(4, 3), buffer.pixel(2, 2),
                         buffer.pixel(5, 2), buffer.pixel(2, 4)),
              std::tuple(0x0000FFu, 0x0000FFu, kBlack, kWhite, kWhite));
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
