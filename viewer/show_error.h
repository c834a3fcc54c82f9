// The viewer's error box: error type, the single button "&Abort", help context 0.
#pragma once

#include <string>

namespace quarn {

/// The refusal of a scene whose extent (or perspective distance) comes to nothing.
inline constexpr const char* kDivisionByZeroText = "Division by zero!";

/// Shows text in the system's error box; the answer is not used.
void Show_Error(const std::string& text);

}  // namespace quarn
