// The viewer's error box: error type, the single button "&Abort", help context 0.
#pragma once

#include <string>

namespace quarn {

/// Shows text in the system's error box; the answer is not used.
void Show_Error(const std::string& text);

}  // namespace quarn
