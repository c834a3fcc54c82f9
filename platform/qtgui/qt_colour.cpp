#include "qt_colour.h"

namespace quarn {

Colour ColourOfRgb(QRgb rgb) {
    return PackRGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QRgb RgbOf(Colour colour) {
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace quarn
