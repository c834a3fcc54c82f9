// Start-up: the main window, then the generator panel and the hidden height popup.
#pragma once

namespace quarn {

/// Creates the start-up windows in order; false when the user asked to end at the notice.
bool StartUp();

}  // namespace quarn
