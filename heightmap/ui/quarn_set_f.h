// The height-entry popup: a small borderless, always-on-top box shown modally beside a map
// click, 104 by 28 pixels.
//
// MaskEdit1 takes a height (initially "0"; UpDown1 steps it by 100 between -10000 and 30000)
// and keeps it from one click to the next. "O" (Button1) copies it into the generator panel's
// height field whose Tag is CurrentColourIndex, "X" (Button2) empties that field; both then
// close the popup. Closing it any other way (Escape) changes no field. It is created once and
// only ever hidden.
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

    QFrame* Shape1;
    UpDown* UpDown1;
    QLineEdit* MaskEdit1;
    QPushButton* Button1;
    QPushButton* Button2;

    void Button1Click();
    void Button2Click();

  private:
    QPushButton* addButton(const char* caption, int left);
};

extern TfrmSet* frmSet;

/// Creates the hidden popup (once).
void CreateSetPopup();

}  // namespace quarn
