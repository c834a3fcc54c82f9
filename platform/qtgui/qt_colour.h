// The system's Colour (red in the low byte, blue in the third, top byte zero) and the
// toolkit's QRgb (0xAARRGGBB), the one conversion between them.
#pragma once

#include <QRgb>

#include "colour.h"

namespace quarn {

/// The QRgb's red, green and blue as a Colour; alpha is dropped.
Colour ColourOfRgb(QRgb rgb);

/// The Colour as an opaque QRgb.
QRgb RgbOf(Colour colour);

}  // namespace quarn
