#include "map_image.h"

#include <QMouseEvent>

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

}  // namespace quarn
