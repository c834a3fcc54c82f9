// A decoded map image turned into palette classes for the terrain writers.
//
// Each distinct colour is matched against the swatches once per band of rows: through the
// colour table of an indexed image, otherwise through a cache of the colours met. Pixels are
// read from the raw scanlines, never one by one through the toolkit, in bands of rows on
// several threads (a pixel's class depends on its colour alone).
#pragma once

#include <QImage>

#include "map_raster.h"

namespace quarn {

/// The class of every pixel of image (empty raster for a null image).
ClassifiedRaster ClassifyImage(const QImage& image, const SwatchColours& swatches);

}  // namespace quarn
