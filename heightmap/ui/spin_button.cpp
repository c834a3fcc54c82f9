#include "spin_button.h"

#include <algorithm>

#include "error_report.h"

namespace quarn {

SpinButton::SpinButton(QLineEdit* buddy, int minimum, int maximum, int increment, QWidget* parent)
    : QWidget(parent),
      m_buddy(buddy),
      m_minimum(minimum),
      m_maximum(maximum),
      m_increment(increment),
      m_up(new QToolButton(this)),
      m_down(new QToolButton(this)) {
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {m_up, m_down}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, Guarded([this] { stepBy(1); }));
    connect(m_down, &QToolButton::clicked, this, Guarded([this] { stepBy(-1); }));
}

void SpinButton::stepBy(int steps) {
    bool isNumber = false;
    const int shown = m_buddy->text().trimmed().toInt(&isNumber);
    const long long start = isNumber ? shown : m_position;
    const long long moved = start + static_cast<long long>(steps) * m_increment;
    m_position = static_cast<int>(std::clamp<long long>(moved, m_minimum, m_maximum));
    m_buddy->setText(QString::number(m_position));
}

void SpinButton::resizeEvent(QResizeEvent*) {
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}

}  // namespace quarn
