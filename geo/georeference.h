// Where a map or a raster lies: the affine placement of its pixel grid and its coordinate system.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quarn {

/// A north-up placement in GDAL's geotransform form: the left edge's x, the pixel width, 0, the
/// top edge's y, 0, minus the pixel height. Pixel (col, row) covers the area from
/// (t[0] + col t[1], t[3] + row t[5]) to (t[0] + (col + 1) t[1], t[3] + (row + 1) t[5]).
struct Georeference {
    std::array<double, 6> transform{0, 1, 0, 0, 0, -1};
    std::string wkt;  // the coordinate system as OGC WKT; empty when unknown

    double pixelWidth() const { return transform[1]; }
    double pixelHeight() const { return -transform[5]; }
    /// Neither turned nor mirrored: pixels run east across and south down.
    bool northUp() const {
        return transform[2] == 0 && transform[4] == 0 && transform[1] > 0 && transform[5] < 0;
    }
};

/// The placement of a grid whose sample (col, row) stands for the map's square of cell x cell
/// pixels from pixel (col cell, row cell).
Georeference CellGrid(const Georeference& map, std::int32_t cell);

/// A map without a place: map units from its top-left corner, x to the east and y to the north,
/// each pixel mapWidth / width by mapHeight / height.
Georeference MapUnitsFromTopLeft(double mapWidth, double mapHeight, std::int32_t width,
                                 std::int32_t height);

}  // namespace quarn
