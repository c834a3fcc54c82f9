#include "scene.h"

#include <gtest/gtest.h>

#include <utility>

namespace quarn {
namespace {

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

}  // namespace
}  // namespace quarn
