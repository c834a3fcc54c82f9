// The text of the platform fault an operation raises, so that a test states the expected
// fault in one line: EXPECT_EQ(FaultText([&] { ... }), "Disk full").
#pragma once

#include <string>

#include "platform_error.h"

namespace quarn::testing {

/// The text of the PlatformError that operation raises, or "no fault" when it returns.
template <typename Operation>
std::string FaultText(Operation&& operation) {
    try {
        operation();
    } catch (const PlatformError& e) {
        return e.what();
    }
    return "no fault";
}

}  // namespace quarn::testing
