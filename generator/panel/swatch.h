// A colour swatch: a label that shows one Colour as its filled background.
//
// The generator panel's swatches carry the map's palette colours; opening a map paints them
// and the generator reads them back to classify the map's pixels, so both sides go through
// these two functions.
#pragma once

#include <QLabel>

#include "shading.h"

namespace quarn {

/// Fills label's background with colour.
void SetSwatchColour(QLabel& label, Colour colour);

/// The colour that label's background shows.
Colour SwatchColourOf(const QLabel& label);

}  // namespace quarn
