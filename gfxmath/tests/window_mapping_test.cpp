#include "window_mapping.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "platform_error.h"

namespace quarn {
namespace {

// Each test starts from the process's start state, since the mapping is shared.
class WindowMappingTest : public ::testing::Test {
  protected:
    void SetUp() override { g_WindowMapping = WindowMapping{}; }
    void TearDown() override { g_WindowMapping = WindowMapping{}; }

    static void SetUpFirstExample() {
        SetWorldWindow(-2, -2, 2, 2);
        SetDeviceViewport(0, 0, 4, 4);
    }

    static void ExpectFault(const std::function<void()>& operation, const char* text) {
        try {
            operation();
            ADD_FAILURE() << "no fault raised";
        } catch (const PlatformError& e) {
            EXPECT_STREQ(e.what(), text);
        }
    }
};

struct Point {
    float x, y;
    std::int32_t ix, iy;
};

TEST_F(WindowMappingTest, StartStateMapsEveryPointToTheOrigin) {
    std::int32_t ix = -1, iy = -1;
    WorldToDevice(123.4f, -5.0f, ix, iy);
    EXPECT_EQ(ix, 0);
    EXPECT_EQ(iy, 0);
}

TEST_F(WindowMappingTest, FirstExampleDerivesScalesAndOffsets) {
    SetUpFirstExample();
    EXPECT_EQ(g_WindowMapping.sx, 1.0f);
    EXPECT_EQ(g_WindowMapping.ox, 2.0f);
    EXPECT_EQ(g_WindowMapping.sy, -1.0f);
    EXPECT_EQ(g_WindowMapping.oy, 2.0f);
}

TEST_F(WindowMappingTest, FirstExampleWorldToDevice) {
    SetUpFirstExample();
    const Point points[] = {
        {0.5f, 1.5f, 2, 0},   // 2.5 goes to the even 2
        {1.5f, -0.5f, 4, 2},  // 3.5 goes to 4, 2.5 to 2
        {-2.5f, 2.5f, 0, 0},  // -0.5 goes to 0
        {-2, -2, 0, 4},       // (xmin, ymin) is (left, bottom)
        {2, 2, 4, 0},         // (xmax, ymax) is (right, top)
        {6, 0, 8, 2},         // outside the window, not clamped
        // 2.50000006 rounds up; a float in between would have made it 2.5 and then 2.
        {0.50000006f, 0, 3, 2},
    };
    for (const Point& p : points) {
        std::int32_t ix = 0, iy = 0;
        WorldToDevice(p.x, p.y, ix, iy);
        EXPECT_EQ(ix, p.ix) << p.x << ", " << p.y;
        EXPECT_EQ(iy, p.iy) << p.x << ", " << p.y;
    }
}

TEST_F(WindowMappingTest, FirstExampleDeviceToWorld) {
    SetUpFirstExample();
    float x = 0, y = 0;
    DeviceToWorld(1, 3, x, y);
    EXPECT_EQ(x, -1.0f);
    EXPECT_EQ(y, -1.0f);
    DeviceToWorld(0, 4, x, y);  // (left, bottom)
    EXPECT_EQ(x, -2.0f);
    EXPECT_EQ(y, -2.0f);
}

TEST_F(WindowMappingTest, NonSquareExample) {
    SetWorldWindow(-1, -0.5f, 1, 0.5f);
    SetDeviceViewport(0, 0, 99, 99);
    EXPECT_EQ(g_WindowMapping.sx, 49.5f);
    EXPECT_EQ(g_WindowMapping.ox, 49.5f);
    EXPECT_EQ(g_WindowMapping.sy, -99.0f);
    EXPECT_EQ(g_WindowMapping.oy, 49.5f);
    const Point points[] = {{0, 0, 50, 50}, {0.5f, 0.25f, 74, 25}};
    for (const Point& p : points) {
        std::int32_t ix = 0, iy = 0;
        WorldToDevice(p.x, p.y, ix, iy);
        EXPECT_EQ(ix, p.ix);
        EXPECT_EQ(iy, p.iy);
    }
}

TEST_F(WindowMappingTest, CornersRoundTripUpToFloatRounding) {
    SetWorldWindow(-0.7f, -0.3f, 0.9f, 0.6f);
    SetDeviceViewport(0, 0, 639, 479);
    float x = 0, y = 0;
    DeviceToWorld(0, 479, x, y);
    EXPECT_FLOAT_EQ(x, -0.7f);
    EXPECT_FLOAT_EQ(y, -0.3f);
    DeviceToWorld(639, 0, x, y);
    EXPECT_FLOAT_EQ(x, 0.9f);
    EXPECT_FLOAT_EQ(y, 0.6f);
}

TEST_F(WindowMappingTest, NewWorldWindowWaitsForTheNextViewport) {
    SetUpFirstExample();
    SetWorldWindow(-100, -100, 100, 100);
    std::int32_t ix = 0, iy = 0;
    WorldToDevice(1.5f, -0.5f, ix, iy);
    EXPECT_EQ(ix, 4);
    EXPECT_EQ(iy, 2);
}

TEST_F(WindowMappingTest, ReversedRectanglesGiveNegativeScales) {
    SetWorldWindow(2, -2, -2, 2);
    SetDeviceViewport(0, 4, 4, 0);  // top > bottom: y is not flipped
    EXPECT_EQ(g_WindowMapping.sx, -1.0f);
    EXPECT_EQ(g_WindowMapping.sy, 1.0f);
    std::int32_t ix = 0, iy = 0;
    WorldToDevice(2, 2, ix, iy);
    EXPECT_EQ(ix, 0);
    EXPECT_EQ(iy, 4);
}

TEST_F(WindowMappingTest, ZeroWorldWidthOrHeightDividesByZero) {
    SetWorldWindow(1, -1, 1, 1);
    ExpectFault([] { SetDeviceViewport(0, 0, 4, 4); }, "Floating point division by zero");
    SetWorldWindow(-1, 1, 1, 1);
    ExpectFault([] { SetDeviceViewport(0, 0, 4, 4); }, "Floating point division by zero");
}

TEST_F(WindowMappingTest, ZeroWorldAndDeviceExtentIsInvalid) {
    // 0 / 0 has no value at all, unlike n / 0.
    SetWorldWindow(1, -1, 1, 1);
    ExpectFault([] { SetDeviceViewport(3, 0, 3, 4); }, "Invalid floating point operation");
    SetWorldWindow(-1, 1, 1, 1);
    ExpectFault([] { SetDeviceViewport(0, 2, 4, 2); }, "Invalid floating point operation");
}

TEST_F(WindowMappingTest, DeviceToWorldWithAZeroScaleFails) {
    SetWorldWindow(-1, -1, 1, 1);
    SetDeviceViewport(0, 0, 0, 0);
    float x = 0, y = 0;
    ExpectFault([&] { DeviceToWorld(5, 5, x, y); }, "Floating point division by zero");
    ExpectFault([&] { DeviceToWorld(0, 0, x, y); }, "Invalid floating point operation");
}

TEST_F(WindowMappingTest, DeviceValueBeyondTheIntegerRangeIsInvalid) {
    SetWorldWindow(0, 0, 1, 1);
    SetDeviceViewport(0, 0, 1000, 1000);
    std::int32_t ix = 0, iy = 0;
    ExpectFault([&] { WorldToDevice(3e6f, 0, ix, iy); }, "Invalid floating point operation");
    ExpectFault([&] { WorldToDevice(-3e6f, 0, ix, iy); }, "Invalid floating point operation");
}

}  // namespace
}  // namespace quarn
