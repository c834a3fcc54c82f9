#include "scene.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

TEST(Zoom, StepsFromTheStartAndBackExactly) {
    EXPECT_EQ(ZoomedIn(0.751f), 0.8260999918f);
    EXPECT_EQ(ZoomedOut(ZoomedIn(0.751f)), 0.751f);
    EXPECT_EQ(ZoomedOut(0.751f), 0.6827272773f);
}

TEST(SpinWrap, PositionsRunThroughZeroTo355) {
    EXPECT_EQ(WrappedSpinPosition(360), 0);
    EXPECT_EQ(WrappedSpinPosition(-1), 355);
    // 67 steps up from 20 reach 355; the 68th wraps to 0.
    int position = 20;
    for (int click = 1; click <= 68; ++click) {
        position = WrappedSpinPosition(std::min(position + 5, 360));
        if (click == 67) {
            EXPECT_EQ(position, 355);
        }
    }
    EXPECT_EQ(position, 0);
}

}  // namespace
}  // namespace quarn
