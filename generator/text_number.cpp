#include "text_number.h"

#include <array>
#include <charconv>

namespace quarn {

void AppendNumber(std::string& line, float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    line.append(buffer.data(), result.ptr);
}

void AppendNumber(std::string& line, std::int32_t value) {
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    line.append(buffer.data(), result.ptr);
}

}  // namespace quarn
