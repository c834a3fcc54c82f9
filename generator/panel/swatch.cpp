#include "swatch.h"

#include <QPalette>

namespace quarn {

void SetSwatchColour(QLabel& label, Colour colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window,
                     QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                            static_cast<int>((colour >> 16) & 0xFF)));
    label.setPalette(palette);
    label.setAutoFillBackground(true);
}

Colour SwatchColourOf(const QLabel& label) {
    const QColor c = label.palette().color(QPalette::Window);
    return PackRGB(c.red(), c.green(), c.blue());
}

}  // namespace quarn
