#include "swatch.h"

#include <QPalette>

#include "qt_colour.h"

namespace quarn {

void SetSwatchColour(QLabel& label, Colour colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, QColor(RgbOf(colour)));
    label.setPalette(palette);
    label.setAutoFillBackground(true);
}

}  // namespace quarn
