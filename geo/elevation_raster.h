// Reading a digital elevation model: any single-band raster GDAL reads (GeoTIFF, the 16-bit
// heightmap PNG this program writes, Esri ASCII grids, USGS DEMs) as heights per cell.
#pragma once

#include <optional>
#include <string>

#include "geotiff.h"

namespace quarn {

/// Cells above this are read at a reduced resolution.
inline constexpr std::int64_t kMostCellsReadInFull = std::int64_t{4096} * 4096;
/// The cells a reduced reading aims at: about 8 M triangles.
inline constexpr std::int64_t kReducedCells = std::int64_t{4} << 20;

struct ElevationRaster {
    ElevationGrid grid;                       // NaN where the raster has no data
    std::int32_t fileCols = 0, fileRows = 0;  // the raster's own size
    bool reduced() const { return grid.cols != fileCols || grid.rows != fileRows; }
};

/// The heights of the raster fileName: a heightmap PNG with its height range scaled into map
/// units, other rasters as their values stand; a raster without a placement placed one unit a
/// cell. Larger than kMostCellsReadInFull, it is read averaged down to about kReducedCells
/// cells over the same extent. Nothing after showing why the file is no elevation raster
/// (unreadable, not one band, turned, no height anywhere).
std::optional<ElevationRaster> ReadElevationRaster(const std::string& fileName);

}  // namespace quarn
