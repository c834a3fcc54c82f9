#include "app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quarn {

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(QColor(40, 90, 170));
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const auto s = static_cast<qreal>(size);
        QPainterPath hill;
        hill.moveTo(0, s);
        hill.lineTo(s * 0.45, s * 0.2);
        hill.lineTo(s, s * 0.75);
        hill.lineTo(s, s);
        hill.closeSubpath();
        painter.fillPath(hill, QColor(60, 150, 60));
        QPainterPath cap;
        cap.moveTo(s * 0.3, s * 0.47);
        cap.lineTo(s * 0.45, s * 0.2);
        cap.lineTo(s * 0.62, s * 0.35);
        cap.closeSubpath();
        painter.fillPath(cap, Qt::white);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace quarn
