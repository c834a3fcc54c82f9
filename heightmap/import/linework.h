// Linework: contour lines, grids and lettering drawn in a dark colour over the bands.
//
// A pixel is linework when it is clearly darker than the closing of the image's lightness by a
// 7 x 7 square: strokes up to six pixels wide are lines, with the grey ringing that compression
// leaves beside them, while wider dark areas, band edges and hill shading are not. Removed linework
// takes the band of the nearest pixels that are not linework: pass by pass, each linework pixel
// beside filled ones takes the band most of them have, so every pixel is filled from the side it is
// nearest.
#pragma once

#include "map_import.h"
#include "pixel_cells.h"

namespace quarn {

/// Sets kDark and kLine in cells from image's pixels (cells' other bits are cleared).
void MarkLinework(const RgbImage& image, PixelCells& cells);

/// The mean colour of the dark pixels marked kLine, or nothing when there are none.
std::optional<Colour> LineworkColour(const RgbImage& image, const PixelCells& cells);

/// Gives every pixel marked kLine the band of the nearest pixels that are not, and clears its
/// mark; linework with no other pixel about it keeps its classified band.
void FillLinework(PixelCells& cells);

}  // namespace quarn
