#include "up_down.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>

#include "error_report.h"

namespace quarn {

namespace {

// The style's focus frame over the arrows, which would otherwise cover any frame the control
// drew itself; clicks go through to the arrows.
class FocusFrame : public QWidget {
  public:
    explicit FocusFrame(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
};

}  // namespace

UpDown::UpDown(QLineEdit* buddy, const UpDownSettings& settings, QWidget* parent)
    : QWidget(parent),
      m_buddy(buddy),
      m_settings(settings),
      m_up(new QToolButton(this)),
      m_down(new QToolButton(this)),
      m_focusFrame(new FocusFrame(this)) {
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

void UpDown::focusInEvent(QFocusEvent* event) {
    m_focusFrame->raise();
    m_focusFrame->show();
    QWidget::focusInEvent(event);
}

void UpDown::focusOutEvent(QFocusEvent* event) {
    m_focusFrame->hide();
    QWidget::focusOutEvent(event);
}

void UpDown::resizeEvent(QResizeEvent*) {
    m_focusFrame->setGeometry(rect());
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
