#include "numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "fault_text.h"

namespace quarn {
namespace {

TEST(Numeric, MinMaxAndPower) {
    EXPECT_EQ(std::tuple(IntMax(-3, 2), IntMax(7, -7), RealMin(1.0, 2.0), RealMax(-1.0, -2.0)),
              std::tuple(2, 7, 1.0, -1.0));
    // +0 and -0 compare equal, so the sign shows that the second argument came back.
    EXPECT_TRUE(std::signbit(RealMax(0.0, -0.0)));
    EXPECT_TRUE(std::signbit(RealMin(0.0, -0.0)));
    EXPECT_DOUBLE_EQ(RealPower(4.0, 0.5), 2.0);
    EXPECT_DOUBLE_EQ(RealPower(2.0, 10.0), 1024.0);
    EXPECT_EQ(std::pair(RealPower(1.0, 123.0), RealPower(7.0, 0.0)), std::pair(1.0, 1.0));
}

TEST(Numeric, RealPowerFaultsRaiseThePlatformText) {
    const struct {
        double a, b;
        const char* text;
    } cases[] = {{0.0, 0.5, "Floating point division by zero"},  // ln 0 is a pole
                 {-1.0, 0.5, "Invalid floating point operation"},
                 {std::nan(""), 1.0, "Invalid floating point operation"},
                 {std::exp(1.0), 1000.0, "Floating point overflow"}};  // beyond the double range
    for (const auto& c : cases)
        EXPECT_EQ(testing::FaultText([&] { RealPower(c.a, c.b); }), c.text) << c.a << "^" << c.b;
}

TEST(Numeric, TrimLeftSkipsOnlyLeadingSpacesAndTabs) {
    const struct {
        const char *in, *out;
    } cases[] = {{"", ""},         {" \t \t", ""}, {"  12 ", "12 "},   {"\t12", "12"},
                 {"\n12", "\n12"}, {"1 2", "1 2"}, {" \r 12", "\r 12"}};
    for (const auto& c : cases)
        EXPECT_EQ(TrimLeftBlanks(c.in), c.out) << '"' << c.in << '"';
}

}  // namespace
}  // namespace quarn
