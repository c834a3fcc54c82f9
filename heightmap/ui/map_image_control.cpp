#include "map_image_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace quarn {

MapImage::MapImage(PressHandler onPress) : m_onPress(std::move(onPress)) {
    setCursor(Qt::CrossCursor);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(0, 0, 0, 0);
}

void MapImage::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    m_onPress(event->button(), event->modifiers(), at.x(), at.y());
}

void MapImage::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void MapImage::paintEvent(QPaintEvent* event) {
    const QRect exposed = event->rect() & m_picture.rect();
    if (exposed.isEmpty())
        return;
    QPainter painter(this);
    painter.drawImage(exposed.topLeft(), m_picture.copy(exposed));
}

}  // namespace quarn
