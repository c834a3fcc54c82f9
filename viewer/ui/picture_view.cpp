#include "picture_view.h"

#include <QImage>
#include <QPainter>

namespace quarn {

PictureView::PictureView(const PixelBuffer& picture, QWidget* parent)
    : QWidget(parent), m_picture(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::paintEvent(QPaintEvent*) {
    QImage image(m_picture.width(), m_picture.height(), QImage::Format_RGB32);
    for (int y = 0; y < m_picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < m_picture.width(); ++x) {
            const Colour c = m_picture.pixel(x, y);
            line[x] = qRgb(int(c & 255), int((c >> 8) & 255), int((c >> 16) & 255));
        }
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

}  // namespace quarn
