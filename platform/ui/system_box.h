// The message box every system message and report shows in.
//
// It stands centred on the screen, frame and all (again once the window manager has framed
// it); a line of text that fits the screen stays on one line (Qt wraps lines wider than half
// the screen, which split "16.7 million"); the box is at least as wide as its title needs, so
// that a window manager does not shorten a title such as "Error" to "…" over a short text; and
// its close command answers like Cancel, whatever the buttons (Qt's box answers it with the
// escape button, No in a Yes/No box).
#pragma once

#include <QMessageBox>

namespace quarn {

class SystemBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void centre();
    void widenText();

    bool m_framed = false;
};

}  // namespace quarn
