// The application's own icon: a green hill with a snow cap under a blue sky, drawn in code.
#pragma once

#include <QIcon>

namespace quarn {

/// The icon of the main window and the task-bar entry.
QIcon AppIcon();

}  // namespace quarn
