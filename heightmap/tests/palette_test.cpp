#include "palette.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

TEST(FindPaletteIndex, LowestMatchingIndexOrNothing) {
    PaletteTable p{};
    p[3] = {0x10, 0x20, 0x30, 0};
    p[7] = {0x10, 0x20, 0x30, 0x99};  // the reserved byte takes no part in the colour
    p[9] = {0xFF, 0xFF, 0xFF, 0};
    EXPECT_EQ(FindPaletteIndex(0x00102030u, p), 3);
    EXPECT_EQ(FindPaletteIndex(0x00FFFFFFu, p), 9);
    EXPECT_EQ(FindPaletteIndex(0x00000000u, p), 0) << "unsupplied entries are black";
    EXPECT_EQ(FindPaletteIndex(0xFFFFFFFFu, p), std::nullopt);
    EXPECT_EQ(FindPaletteIndex(0x00302010u, p), std::nullopt) << "red and blue not swapped";
}

}  // namespace
}  // namespace quarn
