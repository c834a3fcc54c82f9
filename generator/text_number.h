// Numbers in the text formats: the shortest decimal that reads back as the same float32.
#pragma once

#include <cstdint>
#include <string>

namespace quarn {

/// Appends value in its shortest round-trip decimal form ("-0.47368422", "2.5", "1e-05").
void AppendNumber(std::string& line, float value);
/// Appends value in decimal.
void AppendNumber(std::string& line, std::int32_t value);

}  // namespace quarn
