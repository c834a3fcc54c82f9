// A spin button bound to a read-only number field: each click moves the position by the
// increment, stopping at the minimum and maximum (no wrapping), shows it in the field and
// then runs the click handler. Setting the position directly runs no handler.
#pragma once

#include <functional>

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace quarn {

class UpDown : public QWidget {
  public:
    UpDown(Qt::Orientation orientation, QLineEdit* buddy, QWidget* parent);

    void setRange(int minimum, int maximum) { m_minimum = minimum, m_maximum = maximum; }
    void setIncrement(int increment) { m_increment = increment; }
    int position() const { return m_position; }
    /// Moves to position and shows it in the bound field; no handler runs.
    void setPosition(int position);
    /// What a click runs after the position has moved.
    void setClickHandler(std::function<void()> handler) { m_onClick = std::move(handler); }

    /// A click on the up (or right) button, or on the down (or left) one.
    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

  private:
    void step(int direction);

    QLineEdit* m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum = 0, m_maximum = 100, m_increment = 1, m_position = 0;
    std::function<void()> m_onClick;
};

}  // namespace quarn
