#include "text.h"

#include <charconv>

#include "platform_error.h"

namespace quarn {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// [sign] digits [. digits] [(e|E) [sign] digits], at least one mantissa digit.
bool isDecimalReal(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    return i == s.size();
}

}  // namespace

double StrToFloat(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    const std::string number = text.substr(begin, end - begin);
    const auto fail = [&] {
        return PlatformError("'" + text + "' is not a valid floating point value");
    };
    if (!isDecimalReal(number))
        throw fail();
    const std::size_t skip = number[0] == '+' ? 1 : 0;  // from_chars refuses a plus sign
    double value = 0;
    const auto [ptr, ec] =
        std::from_chars(number.data() + skip, number.data() + number.size(), value);
    if (ec != std::errc())
        throw fail();
    return value;
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

std::string UpperCase(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string ExtractFileExt(const std::string& fileName) {
    const auto dot = fileName.find_last_of(".\\:/");
    if (dot == std::string::npos || fileName[dot] != '.')
        return {};
    return fileName.substr(dot);
}

}  // namespace quarn
