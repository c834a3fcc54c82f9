// An elevation raster as the terrain the generator would make of it: a map of the raster's
// extent sampled once per raster cell, two triangles per square of samples in the generator's
// order, each coloured by the height classes. The viewer shows such a raster as a 3DF scene.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geotiff.h"
#include "tdf_format.h"

namespace quarn {

/// The Water, Lawn and Snow level texts; a blank one takes the height 10 %, 60 % or 90 % of
/// the way from the raster's lowest height to its highest.
struct ElevationLevels {
    std::string water, lawn, snow;
};

struct ElevationMesh {
    std::vector<Vertex> vertices;  // as a 3DF file holds them, each a corner of some triangle
    std::vector<Triangle> triangles;
};

/// The terrain of grid: its vertices placed and scaled as a generated 3DF's, a cell without data
/// (NaN) left out with the triangles that touch it. A level text the parser rejects raises its
/// PlatformError; nothing after the grid's own refusal box (fewer than 2 x 2 cells).
std::optional<ElevationMesh> MeshOfElevation(const ElevationGrid& grid,
                                             const ElevationLevels& levels);

}  // namespace quarn
