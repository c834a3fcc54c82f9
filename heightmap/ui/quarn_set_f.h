// The height-entry popup: a small borderless, always-on-top box shown modally beside a map
// click, 104 by 28 pixels.
//
// MaskEdit1 takes a height (initially "0"; UpDown1 steps it by 100 between -10000 and 30000)
// and keeps it from one click to the next. "O" (Button1) copies it into the generator panel's
// height field whose Tag is CurrentColourIndex, "X" (Button2) empties that field; both then
// close the popup. Closing it any other way (Escape) changes no field. It is created once and
// only ever hidden. It opens with the edit's text selected, so typing replaces it and Enter
// presses "O"; the tab order is UpDown1, MaskEdit1, "O", "X".
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "up_down.h"

namespace quarn {

class TfrmSet : public QDialog {
  public:
    TfrmSet();
    ~TfrmSet() override;

    QFrame* Shape1;
    UpDown* UpDown1;
    QLineEdit* MaskEdit1;
    QPushButton* Button1;
    QPushButton* Button2;

    void Button1Click();
    void Button2Click();
    /// Moves the popup to at, or just inside area where it would stand partly outside it.
    void PlaceInside(QPoint at, const QRect& area);

    /// Shown, the edit has the focus and its text selected.
    void setVisible(bool visible) override;

  private:
    QPushButton* addButton(const char* caption, int left);
};

extern TfrmSet* frmSet;

/// Creates the hidden popup (once).
void CreateSetPopup();

}  // namespace quarn
