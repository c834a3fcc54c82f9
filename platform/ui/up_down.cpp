#include "up_down.h"

#include <QKeyEvent>
#include <algorithm>

#include "error_report.h"

namespace quarn {

UpDown::UpDown(QLineEdit* buddy, const UpDownSettings& settings, QWidget* parent)
    : QWidget(parent),
      m_buddy(buddy),
      m_settings(settings),
      m_up(new QToolButton(this)),
      m_down(new QToolButton(this)) {
    const bool vertical = settings.orientation == Qt::Vertical;
    setFocusPolicy(Qt::TabFocus);
    m_up->setArrowType(vertical ? Qt::UpArrow : Qt::RightArrow);
    m_down->setArrowType(vertical ? Qt::DownArrow : Qt::LeftArrow);
    for (QToolButton* arrow : {m_up, m_down}) {
        arrow->setAutoRepeat(settings.autoRepeat);
        arrow->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, Guarded([this] { stepBy(1); }));
    connect(m_down, &QToolButton::clicked, this, Guarded([this] { stepBy(-1); }));
}

void UpDown::setPosition(int position) {
    m_position = position;
    m_buddy->setText(QString::number(position));
}

void UpDown::stepBy(int steps) {
    bool isNumber = false;
    const int shown = m_buddy->text().trimmed().toInt(&isNumber);
    const long long start = isNumber ? shown : m_position;
    const long long moved = start + static_cast<long long>(steps) * m_settings.increment;
    setPosition(
        static_cast<int>(std::clamp<long long>(moved, m_settings.minimum, m_settings.maximum)));
    if (m_onClick)
        m_onClick();
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right:
            RunGuarded([this] { stepBy(1); });
            return;
        case Qt::Key_Down:
        case Qt::Key_Left:
            RunGuarded([this] { stepBy(-1); });
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void UpDown::resizeEvent(QResizeEvent*) {
    if (m_settings.orientation == Qt::Vertical) {
        const int upper = height() / 2;
        m_up->setGeometry(0, 0, width(), upper);
        m_down->setGeometry(0, upper, width(), height() - upper);
    } else {
        const int left = width() - width() / 2;
        m_down->setGeometry(0, 0, left, height());
        m_up->setGeometry(left, 0, width() - left, height());
    }
}

}  // namespace quarn
