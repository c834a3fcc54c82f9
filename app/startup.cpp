#include "startup.h"

#include <QApplication>

#include "app_icon.h"
#include "design_look.h"
#include "quarn_gencpanel_f.h"
#include "quarn_main_f.h"
#include "quarn_set_f.h"

namespace quarn {

bool StartUp() {
    // No display name: the toolkit would append it to every caption ("Error - Quarn 3D").
    QApplication::setApplicationName(QStringLiteral("Quarn 3D"));
    InstallDesignLook();
    // Child windows and dialogs show the application's icon too.
    QApplication::setWindowIcon(AppIcon());
    auto* mainForm = new TfrmMainMDI();
    const bool goOn = mainForm->FormCreate();
    CreateGenCPanel();
    TfrmGenCPanel::SetGenerateHandler([] { frmMainMDI->GoOn(); });
    CreateSetPopup();
    if (!goOn)
        return false;
    mainForm->ShowMaximised();
    return true;
}

}  // namespace quarn
