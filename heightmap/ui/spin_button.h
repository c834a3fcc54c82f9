// A pair of up and down arrows bound to an edit, stepping the whole number the edit shows.
//
// A step starts from the edit's number (or, when the edit holds none, from the last position
// set), moves by the increment and stops at the minimum and maximum; it never wraps around.
// The new position is written back to the edit without thousands separators.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace quarn {

class SpinButton : public QWidget {
  public:
    SpinButton(QLineEdit* buddy, int minimum, int maximum, int increment, QWidget* parent);

    /// Moves the position by steps increments (negative steps go down).
    void stepBy(int steps);
    int position() const { return m_position; }

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QLineEdit* m_buddy;
    int m_minimum;
    int m_maximum;
    int m_increment;
    int m_position = 0;
    QToolButton* m_up;
    QToolButton* m_down;
};

}  // namespace quarn
