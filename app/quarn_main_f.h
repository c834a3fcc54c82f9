// The main window "Quarn 3D": a maximised multiple-document frame with the command menu and
// the Options menu. It fills the screen's work area even where no window manager maximises
// it; restored, its outer bounds are 191, 227, 435 x 300, and its work area scrolls to the
// child windows outside it. A status bar says what the last successful generate wrote.
//
// FormCreate shows the colour-depth notice; Cancel (or Escape, or closing the box) asks the
// program to end, which start-up honours before the message loop waits for input. The menu's
// commands are methods here; each runs guarded, so a platform error is reported and the
// application keeps running. The window owns the Options menu's settings and hands them down.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <optional>

#include "app_options.h"

namespace quarn {

class TfrmMainMDI : public QMainWindow {
  public:
    TfrmMainMDI();

    QMdiArea* MdiArea;
    QMenu* Menu1;
    QAction* OpenBMPfile1;
    QAction* ImportMapImage1;
    QAction* Generate3Dfile1;
    QAction* Open3Dfile1;
    QAction* Save3D1;
    QAction* Documentation1;
    QAction* Exit1;
    QMenu* Options1;
    QAction* SmoothTerrain1;  // checkable, unchecked at start; chooses the generate's surface
    // Checkable, unchecked at start: the view options, rendering at once with "Autorender".
    QAction* HiddenSurfaces1;
    QAction* KeepProportions1;
    QAction* Perspective1;
    QAction* MeshDetail1;    // "Mesh detail...": the full grid, or a largest error
    QAction* PrintColours1;  // checkable, unchecked at start: 3MF prints in the map's band
                             // colours instead of the height classes'
    QLabel* StatusText;      // in the status bar: what the last generate wrote

    void OpenBMPfile1Click();
    void ImportMapImage1Click();
    void Generate3Dfile1Click();
    void Open3Dfile1Click();
    void Save3D1Click();
    void Documentation1Click();
    void Exit1Click();
    /// The generate command, also run by the panel's button.
    void GoOn();
    /// Shows the window maximised, filling the work area of its screen.
    void ShowMaximised();
    /// Shows the start notice; false when the user asked there to end the program.
    bool FormCreate();
    /// The Options menu's settings as they stand.
    const AppOptions& options() const { return m_options; }

  protected:
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    QAction* addCommand(const char* name, const char* caption, void (TfrmMainMDI::*handler)());
    QAction* addViewOption(const char* name, const char* caption, bool ViewOptions::*setting);
    // Gives the restored window its outer bounds within the frame it has now, and again when
    // the window manager changes that frame.
    void placeRestored();
    void followRestoredFrame();

    std::optional<QMargins> m_restoredFrame;  // the frame placeRestored allowed for
    AppOptions m_options;
};

extern TfrmMainMDI* frmMainMDI;

/// The text of the start notice (two sentences joined by a carriage return).
extern const char* const kColourDepthNotice;

}  // namespace quarn
