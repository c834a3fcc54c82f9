#include "window_mapping.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <utility>

#include "fault_text.h"

namespace quarn {
namespace {

using DevicePoint = std::pair<std::int32_t, std::int32_t>;
using WorldPoint = std::pair<float, float>;

// Each test starts from a mapping in its start state (all fields 0).
class WindowMappingTest : public ::testing::Test {
  protected:
    void SetUpMapping(float x1, float y1, float x2, float y2, std::int32_t left, std::int32_t top,
                      std::int32_t right, std::int32_t bottom) {
        SetWorldWindow(m, x1, y1, x2, y2);
        SetDeviceViewport(m, left, top, right, bottom);
    }
    DevicePoint ToDevice(float x, float y) const {
        DevicePoint p{-1, -1};
        WorldToDevice(m, x, y, p.first, p.second);
        return p;
    }
    WorldPoint ToWorld(std::int32_t ix, std::int32_t iy) const {
        WorldPoint p{0, 0};
        DeviceToWorld(m, ix, iy, p.first, p.second);
        return p;
    }
    WindowMapping m;
};

TEST_F(WindowMappingTest, FirstExample) {
    SetUpMapping(-2, -2, 2, 2, 0, 0, 4, 4);
    EXPECT_EQ(std::tuple(m.sx, m.ox, m.sy, m.oy), std::tuple(1.0f, 2.0f, -1.0f, 2.0f));
    const struct {
        float x, y;
        DevicePoint device;
    } points[] = {
        {0.5f, 1.5f, {2, 0}},   // 2.5 goes to the even 2
        {1.5f, -0.5f, {4, 2}},  // 3.5 goes to 4, 2.5 to 2
        {-2.5f, 2.5f, {0, 0}},  // -0.5 goes to 0
        {-2, -2, {0, 4}},       // (xmin, ymin) is (left, bottom)
        {2, 2, {4, 0}},         // (xmax, ymax) is (right, top)
        {6, 0, {8, 2}},         // outside the window, not clamped
        // 2.50000006 rounds up; a float in between would have made it 2.5 and then 2.
        {0.50000006f, 0, {3, 2}},
    };
    for (const auto& p : points)
        EXPECT_EQ(ToDevice(p.x, p.y), p.device) << p.x << ", " << p.y;
    EXPECT_EQ(ToWorld(1, 3), WorldPoint(-1, -1));
    EXPECT_EQ(ToWorld(0, 4), WorldPoint(-2, -2));  // (left, bottom)
    // A new world window waits for the next viewport.
    SetWorldWindow(m, -100, -100, 100, 100);
    EXPECT_EQ(ToDevice(1.5f, -0.5f), DevicePoint(4, 2));
}

TEST_F(WindowMappingTest, NonSquareExample) {
    SetUpMapping(-1, -0.5f, 1, 0.5f, 0, 0, 99, 99);
    EXPECT_EQ(std::tuple(m.sx, m.ox, m.sy, m.oy), std::tuple(49.5f, 49.5f, -99.0f, 49.5f));
    EXPECT_EQ(ToDevice(0, 0), DevicePoint(50, 50));
    EXPECT_EQ(ToDevice(0.5f, 0.25f), DevicePoint(74, 25));
}

TEST_F(WindowMappingTest, CornersRoundTripUpToFloatRounding) {
    SetUpMapping(-0.7f, -0.3f, 0.9f, 0.6f, 0, 0, 639, 479);
    const auto [left, bottom] = ToWorld(0, 479);
    const auto [right, top] = ToWorld(639, 0);
    for (const auto& [got, want] :
         {std::pair{left, -0.7f}, {bottom, -0.3f}, {right, 0.9f}, {top, 0.6f}})
        EXPECT_FLOAT_EQ(got, want);
}

TEST_F(WindowMappingTest, ReversedRectanglesGiveNegativeScales) {
    SetUpMapping(2, -2, -2, 2, 0, 4, 4, 0);  // top > bottom: y is not flipped
    EXPECT_EQ(std::pair(m.sx, m.sy), std::pair(-1.0f, 1.0f));
    EXPECT_EQ(ToDevice(2, 2), DevicePoint(0, 4));
}

TEST_F(WindowMappingTest, ZeroExtentsAndHugeValuesAreFloatingPointFaults) {
    constexpr const char* kDivision = "Floating point division by zero";
    // 0 / 0 has no value at all, unlike n / 0.
    constexpr const char* kInvalid = "Invalid floating point operation";
    SetWorldWindow(m, 1, -1, 1, 1);
    EXPECT_EQ(testing::FaultText([&] { SetDeviceViewport(m, 0, 0, 4, 4); }), kDivision);
    EXPECT_EQ(testing::FaultText([&] { SetDeviceViewport(m, 3, 0, 3, 4); }), kInvalid);
    SetWorldWindow(m, -1, 1, 1, 1);
    EXPECT_EQ(testing::FaultText([&] { SetDeviceViewport(m, 0, 0, 4, 4); }), kDivision);
    EXPECT_EQ(testing::FaultText([&] { SetDeviceViewport(m, 0, 2, 4, 2); }), kInvalid);
    // Device to world with a zero scale.
    SetUpMapping(-1, -1, 1, 1, 0, 0, 0, 0);
    EXPECT_EQ(testing::FaultText([&] { ToWorld(5, 5); }), kDivision);
    EXPECT_EQ(testing::FaultText([&] { ToWorld(0, 0); }), kInvalid);
    // A device value beyond the integer range.
    SetUpMapping(0, 0, 1, 1, 0, 0, 1000, 1000);
    EXPECT_EQ(testing::FaultText([&] { ToDevice(3e6f, 0); }), kInvalid);
    EXPECT_EQ(testing::FaultText([&] { ToDevice(-3e6f, 0); }), kInvalid);
}

}  // namespace
}  // namespace quarn
