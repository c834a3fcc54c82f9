// A colour swatch: a label that shows one Colour as its filled background.
//
// The generator panel's swatches show the map's palette colours; they are only painted,
// never read back (the generator takes the colours from the Palette itself).
#pragma once

#include <QLabel>

#include "colour.h"

namespace quarn {

/// Fills label's background with colour.
void SetSwatchColour(QLabel& label, Colour colour);

}  // namespace quarn
