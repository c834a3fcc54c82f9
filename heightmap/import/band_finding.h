// Finding a map's band colours in the image itself, deterministically.
//
// The pixels that are not linework are counted into a histogram of 32 x 32 x 32 colour cells.
// An image of at most 16 exact colours (and as many as asked) has those colours as its bands.
// Otherwise the cells of uniform pixels (inside a patch of one tint) are clustered in CIELAB by
// weighted k-means into 32 clusters, started from the heaviest cell and then each time the cell
// of most weight times squared distance from the chosen ones, so the same image always gives
// the same bands. A band under hill shading spreads over several clusters that meet smoothly,
// pixel beside pixel, along their length, where two bands meet across an edge or a line: the
// clusters are joined, the most such contact first, until as many as asked remain (the
// lightest clusters of no such contact dropped), or, asked for 0, while they meet so. Each band
// takes the colour whose shades best cover its heaviest cells. Bands come darkest first.
#pragma once

#include <vector>

#include "map_import.h"
#include "pixel_cells.h"

namespace quarn {

/// The band colours of image (wanted: 2 to 16, or 0 for as many as it clearly holds); pixels
/// marked kLine in cells are left out; cells' scratch is used.
std::vector<Colour> FindBands(const RgbImage& image, PixelCells& cells, int wanted);

}  // namespace quarn
