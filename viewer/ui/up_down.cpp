#include "up_down.h"

#include <algorithm>

#include "error_report.h"

namespace quarn {

UpDown::UpDown(Qt::Orientation orientation, QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    const bool vertical = orientation == Qt::Vertical;
    m_up->setArrowType(vertical ? Qt::UpArrow : Qt::RightArrow);
    m_down->setArrowType(vertical ? Qt::DownArrow : Qt::LeftArrow);
    if (vertical) {
        m_up->setGeometry(0, 0, 15, 10);
        m_down->setGeometry(0, 10, 15, 10);
    } else {
        m_down->setGeometry(0, 0, 8, 20);
        m_up->setGeometry(8, 0, 7, 20);
    }
    connect(m_up, &QToolButton::clicked, this, Guarded([this] { stepUp(); }));
    connect(m_down, &QToolButton::clicked, this, Guarded([this] { stepDown(); }));
}

void UpDown::setPosition(int position) {
    m_position = position;
    m_buddy->setText(QString::number(position));
}

void UpDown::step(int direction) {
    setPosition(std::clamp(m_position + direction * m_increment, m_minimum, m_maximum));
    if (m_onClick)
        m_onClick();
}

}  // namespace quarn
