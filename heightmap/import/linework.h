// Linework: contour lines, grids and lettering drawn in a dark colour over the bands.
//
// A dark pixel is linework when it lies in no 5 x 5 square of dark pixels (an opening of the
// dark pixels by that square): strokes up to four pixels wide are lines, wider dark areas are a
// band of their own. Removed linework takes the band of the nearest pixels that are not
// linework: pass by pass, each linework pixel beside filled ones takes the band most of them
// have, so every pixel is filled from the side it is nearest.
#pragma once

#include "map_import.h"
#include "pixel_cells.h"

namespace quarn {

/// Sets kDark and kLine in cells from image's pixels (cells' other bits are cleared).
void MarkLinework(const RgbImage& image, PixelCells& cells);

/// The mean colour of the pixels marked kLine, or nothing when there are none.
std::optional<Colour> LineworkColour(const RgbImage& image, const PixelCells& cells);

/// Gives every pixel marked kLine the band of the nearest pixels that are not, and clears its
/// mark; linework with no other pixel about it keeps its classified band.
void FillLinework(PixelCells& cells);

}  // namespace quarn
