#include "startup.h"

#include <QApplication>

#include "app_icon.h"
#include "quarn_gencpanel_f.h"
#include "quarn_main_f.h"
#include "quarn_set_f.h"

namespace quarn {

bool StartUp() {
    QApplication::setApplicationName(QStringLiteral("Quarn 3D"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quarn 3D"));
    // Child windows and dialogs show the application's icon too.
    QApplication::setWindowIcon(AppIcon());
    auto* mainForm = new TfrmMainMDI();
    CreateGenCPanel();
    TfrmGenCPanel::SetGenerateHandler([] { frmMainMDI->GoOn(); });
    CreateSetPopup();
    if (TerminateRequested)
        return false;
    mainForm->showMaximized();
    return true;
}

}  // namespace quarn
