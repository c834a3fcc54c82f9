// Finding a map's band colours in the image itself, deterministically.
//
// The pixels that are not linework are counted into a histogram of 32 x 32 x 32 colour cells.
// An image of at most 16 exact colours (and as many as asked) has those colours as its bands.
// Otherwise the cells are clustered in CIELAB by weighted k-means, started from the heaviest
// cell and then each time the cell of most weight times squared distance from the chosen ones,
// so the same image always gives the same bands. Asked for 0 bands, it clusters into 16, then
// merges clusters nearer than a shading's difference and drops ones of a negligible share.
// Bands come darkest first.
#pragma once

#include <vector>

#include "map_import.h"
#include "pixel_cells.h"

namespace quarn {

/// The band colours of image (wanted: 2 to 16, or 0 for as many as it clearly holds); pixels
/// marked kLine in cells are left out.
std::vector<Colour> FindBands(const RgbImage& image, const PixelCells& cells, int wanted);

}  // namespace quarn
