#include "text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fault_text.h"

namespace quarn {
namespace {

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
