// Installs the Qt message boxes, file dialogs, error report and busy cursor behind the seams.
#pragma once

namespace quarn {

/// Called once by the application after its QApplication exists.
void InstallQtPresenters();

}  // namespace quarn
