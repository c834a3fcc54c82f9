// The PLY writer: the terrain in map units as binary little-endian PLY with a colour per face,
// for MeshLab, Blender and CloudCompare.
#pragma once

#include <string>

#include "binary_io.h"
#include "grid_setup.h"
#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes mesh as PLY: float x, y, z per vertex; three int corners and red, green, blue per face.
void FormatPLY(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent);

/// Writes fileName as PLY from the grid set-up and the classified map; false when refused.
bool Write_PLY(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);

}  // namespace quarn
