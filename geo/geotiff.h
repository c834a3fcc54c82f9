// Elevation grids as GeoTIFF: what GIS programs take for a digital elevation model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "georeference.h"

namespace quarn {

/// A grid of heights placed on the map, row after row from the top.
struct ElevationGrid {
    std::int32_t cols = 0, rows = 0;
    std::vector<float> heights;  // cols * rows
    Georeference place;          // of the cells, one per height
};

/// The bytes of a single-band Float32 GeoTIFF of grid: north up, each pixel the area its height
/// stands for, the coordinate system where known, DEFLATE with the floating-point predictor,
/// tiled above 1024 x 1024. GDAL's failure raises PlatformError with its text.
std::vector<std::uint8_t> GeoTiffBytes(const ElevationGrid& grid);

}  // namespace quarn
