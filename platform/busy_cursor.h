// The application-wide busy cursor for as long as the object lives (every way out restores).
//
// The toolkit installs the hooks that show and restore the cursor; without them (command
// line, tests) a BusyCursor does nothing.
#pragma once

#include <functional>

namespace quarn {

class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

/// Sets what showing and restoring the busy cursor does.
void SetBusyCursorHooks(std::function<void()> show, std::function<void()> restore);

}  // namespace quarn
