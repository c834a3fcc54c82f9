#include "numeric.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform_error.h"

namespace quarn {
namespace {

TEST(Numeric, IntMax) {
    EXPECT_EQ(IntMax(5, 5), 5);
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMax(7, -7), 7);
}

TEST(Numeric, RealMinAndMax) {
    EXPECT_EQ(RealMin(2.5, 2.5), 2.5);
    EXPECT_EQ(RealMin(1.0, 2.0), 1.0);
    EXPECT_EQ(RealMax(1.0, 2.0), 2.0);
    EXPECT_EQ(RealMax(-1.0, -2.0), -1.0);
}

TEST(Numeric, RealMinAndMaxAnswerTheSecondWhenEqual) {
    // +0 and -0 compare equal, so the sign shows which argument came back.
    EXPECT_TRUE(std::signbit(RealMax(0.0, -0.0)));
    EXPECT_TRUE(std::signbit(RealMin(0.0, -0.0)));
}

TEST(Numeric, RealPowerOfPositiveBases) {
    EXPECT_DOUBLE_EQ(RealPower(4.0, 0.5), 2.0);
    EXPECT_DOUBLE_EQ(RealPower(2.0, 10.0), 1024.0);
    EXPECT_EQ(RealPower(1.0, 123.0), 1.0);
    EXPECT_EQ(RealPower(7.0, 0.0), 1.0);
}

struct PowerFault {
    const char* name;
    double a;
    double b;
    const char* text;
};

class RealPowerFault : public ::testing::TestWithParam<PowerFault> {};

TEST_P(RealPowerFault, RaisesThePlatformText) {
    try {
        RealPower(GetParam().a, GetParam().b);
        ADD_FAILURE() << "no fault raised";
    } catch (const PlatformError& e) {
        EXPECT_STREQ(e.what(), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Numeric, RealPowerFault,
    ::testing::Values(
        // ln 0 is a pole.
        PowerFault{"ZeroBase", 0.0, 0.5, "Floating point division by zero"},
        // ln of a negative number has no real value.
        PowerFault{"NegativeBase", -1.0, 0.5, "Invalid floating point operation"},
        PowerFault{"NaNBase", std::nan(""), 1.0, "Invalid floating point operation"},
        // e^1000 exceeds the double range.
        PowerFault{"HugeResult", std::exp(1.0), 1000.0, "Floating point overflow"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

struct TrimCase {
    const char* name;
    const char* in;
    const char* out;
};

class TrimLeft : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimLeft, SkipsOnlyLeadingSpacesAndTabs) {
    EXPECT_EQ(TrimLeftBlanks(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Numeric, TrimLeft,
                         ::testing::Values(TrimCase{"Empty", "", ""},
                                           TrimCase{"BlanksOnly", " \t \t", ""},
                                           TrimCase{"SpacesBefore", "  12 ", "12 "},
                                           TrimCase{"Tab", "\t12", "12"},
                                           TrimCase{"LineFeedStays", "\n12", "\n12"},
                                           TrimCase{"CarriageReturnStops", " \r 12", "\r 12"},
                                           TrimCase{"Inner", "1 2", "1 2"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace quarn
