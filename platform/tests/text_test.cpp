// Text and numbers: parsing, trimming and the floating-point checks whose faults carry the
// platform's texts.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "checked_float.h"
#include "fault_text.h"
#include "text.h"

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
                 {-2147483648.4, INT32_MIN},
                 {2147483647.4, INT32_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(CheckedRoundToInt32(c.value), c.expected) << c.value;
}

TEST(StrToFloat, AcceptsDecimalFormsWithSurroundingSpaces) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"0", 0},        {"12.5", 12.5}, {"  -12.5e3 ", -12500}, {"+7", 7},
        {".5", 0.5},     {"5.", 5},      {"1E2", 100},           {"2.5e-1", 0.25},
        {"-3e+2", -300}, {"   42", 42},  {"0.1", 0.1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
    EXPECT_TRUE(std::signbit(StrToFloat("-0")));
}

TEST(StrToFloat, RefusesWhatIsNotADecimalReal) {
    // No digits, an inner space, words, special values, a comma, hex, a bare exponent, a
    // tab (only spaces are allowed around the number), a value beyond the double range; the
    // text is quoted as given.
    const char* const texts[] = {"-",  "1 2", "",  "abc", "inf", "nan",   "1,5", "0x10",
                                 "1e", "e5",  ".", "+-1", "\t1", "1e999", "  x "};
    for (const char* text : texts)
        EXPECT_EQ(testing::FaultText([&] { StrToFloat(text); }),
                  "'" + std::string(text) + "' is not a valid floating point value");
}

struct TextCase {
    const char* in;
    const char* out;
};

TEST(Trim, DropsBlanksAndControlCharactersAtBothEnds) {
    const TextCase cases[] = {{"", ""},           {"   ", ""},
                              {" a ", "a"},       {"\t\r\na b\n", "a b"},
                              {"\x01x\x1f", "x"}, {"a  b", "a  b"}};
    for (const TextCase& c : cases)
        EXPECT_EQ(Trim(c.in), c.out) << c.in;
}

TEST(UpperCase, ChangesOnlyAsciiLetters) {
    const TextCase cases[] = {{"hills.3df", "HILLS.3DF"},
                              {"AbC-xyz_09", "ABC-XYZ_09"},
                              {"", ""},
                              // UTF-8 bytes of a-umlaut stay as they are.
                              {"\xc3\xa4", "\xc3\xa4"}};
    for (const TextCase& c : cases)
        EXPECT_EQ(UpperCase(c.in), c.out) << c.in;
}

TEST(ExtractFileExt, TakesTheLastDotOfTheFilePart) {
    const TextCase cases[] = {{"hills.3dfx", ".3dfx"},
                              {"hills.3DF", ".3DF"},
                              {"a.b.c", ".c"},
                              {"a.b/c", ""},
                              {"dir\\x.3df", ".3df"},
                              {"x.3df\\y", ""},
                              {"C:x", ""},
                              {"noext", ""},
                              {"", ""},
                              {"name.", "."},
                              {"dir/.hidden", ".hidden"}};
    for (const TextCase& c : cases)
        EXPECT_EQ(ExtractFileExt(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace quarn
