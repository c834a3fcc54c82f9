#include "picture_view.h"

#include <QImage>
#include <QPainter>

#include "qt_colour.h"

namespace quarn {

PictureView::PictureView(const PixelBuffer& picture, QWidget* parent)
    : QWidget(parent), m_picture(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void PictureView::paintEvent(QPaintEvent*) {
    QImage image(m_picture.width(), m_picture.height(), QImage::Format_RGB32);
    for (int y = 0; y < m_picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < m_picture.width(); ++x)
            line[x] = RgbOf(m_picture.pixel(x, y));
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
    // On the screen only: the picture saved stays as drawn.
    if (hasFocus()) {
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void PictureView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void PictureView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

}  // namespace quarn
