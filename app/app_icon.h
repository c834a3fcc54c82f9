// The application's own icon: the desktop's island in contour bands, built into the program.
#pragma once

#include <QIcon>

namespace quarn {

/// The icon of the main window and the task-bar entry.
QIcon AppIcon();

}  // namespace quarn
