#include "checked_float.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "fault_text.h"

namespace quarn {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr const char* kDivision = "Floating point division by zero";
constexpr const char* kInvalid = "Invalid floating point operation";
constexpr const char* kOverflow = "Floating point overflow";

TEST(CheckedFloat, FaultsRaiseThePlatformText) {
    const struct {
        const char* name;
        std::function<void()> operation;
        const char* text;
    } cases[] = {
        {"DivideByZero", [] { CheckedDivide(1, 0); }, kDivision},
        {"DivideNegativeByZero", [] { CheckedDivide(-1, -0.0); }, kDivision},
        // 0 / 0 has no value at all.
        {"ZeroByZero", [] { CheckedDivide(0, 0); }, kInvalid},
        {"DivideNaN", [] { CheckedDivide(kNaN, 1); }, kInvalid},
        {"DivideOverflow", [] { CheckedDivide(1e300, 1e-300); }, kOverflow},
        {"FloatOfNaN", [] { CheckedToFloat(kNaN); }, kInvalid},
        {"FloatTooLarge", [] { CheckedToFloat(1e39); }, kOverflow},
        {"FloatTooNegative", [] { CheckedToFloat(-1e39); }, kOverflow},
        {"RoundNaN", [] { CheckedRoundToInt32(kNaN); }, kInvalid},
        {"RoundAboveRange", [] { CheckedRoundToInt32(2147483647.5); }, kInvalid},
        {"RoundBelowRange", [] { CheckedRoundToInt32(-2147483649.0); }, kInvalid},
        {"RoundInfinity", [] { CheckedRoundToInt32(HUGE_VAL); }, kInvalid},
        {"NotNaN", [] { CheckNotNaN(kNaN); }, kInvalid},
        {"FiniteNaN", [] { CheckFinite(kNaN); }, kInvalid},
        {"FiniteInfinity", [] { CheckFinite(-HUGE_VAL); }, kInvalid},
    };
    for (const auto& c : cases)
        EXPECT_EQ(testing::FaultText(c.operation), c.text) << c.name;
}

TEST(CheckedFloat, ValuesInRangePassThroughAndHalvesRoundToEven) {
    EXPECT_EQ(CheckedDivide(1, 4), 0.25);
    EXPECT_EQ(CheckedDivide(0, 5), 0.0);
    EXPECT_EQ(CheckedToFloat(0.1), 0.1f);
    EXPECT_EQ(CheckedToFloat(3.4e38), 3.4e38f);
    EXPECT_NO_THROW(CheckNotNaN(HUGE_VAL));
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {{2.5, 2},
                 {3.5, 4},
                 {-0.5, 0},
                 {-1.5, -2},
                 {127.5, 128},
                 {2.4999999, 2},
                 {-2147483648.4, std::numeric_limits<std::int32_t>::min()},
                 {2147483647.4, std::numeric_limits<std::int32_t>::max()}};
    for (const auto& c : cases)
        EXPECT_EQ(CheckedRoundToInt32(c.value), c.expected) << c.value;
}

}  // namespace
}  // namespace quarn
