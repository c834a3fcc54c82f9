// A spin button: two arrow buttons bound to an edit, stepping the whole number it shows.
//
// A click starts from the edit's number (from the last position when the edit shows none),
// moves by the increment, stops at the minimum and maximum (it never wraps), writes the new
// position to the edit without thousands separators and then runs the click handler, if
// any. Setting the position from code runs no handler. The vertical kind has up and down
// arrows (up above), the horizontal kind left and right arrows (right steps up); each arrow
// takes half the control. The control is one stop in the tab order, framed while it has the
// focus: the arrow keys step it, up and right going up; the arrows themselves never take the
// focus.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <functional>

namespace quarn {

struct UpDownSettings {
    Qt::Orientation orientation = Qt::Vertical;
    int minimum = 0;
    int maximum = 100;
    int increment = 1;
    bool autoRepeat = false;  // holding an arrow down keeps stepping
};

class UpDown : public QWidget {
  public:
    UpDown(QLineEdit* buddy, const UpDownSettings& settings, QWidget* parent);

    int position() const { return m_position; }
    /// Moves to position and shows it in the edit; no handler runs.
    void setPosition(int position);
    /// What a click runs after the position has moved.
    void setClickHandler(std::function<void()> handler) { m_onClick = std::move(handler); }
    /// What steps clicks do (negative steps go down), handler included.
    void stepBy(int steps);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QLineEdit* m_buddy;
    UpDownSettings m_settings;
    int m_position = 0;
    QToolButton* m_up;
    QToolButton* m_down;
    QWidget* m_focusFrame;
    std::function<void()> m_onClick;
};

}  // namespace quarn
