// The PLY writer: the terrain in map units as binary little-endian PLY with a colour per face,
// for MeshLab, Blender and CloudCompare.
#pragma once

#include "binary_io.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes mesh as PLY: float x, y, z per vertex; three int corners and red, green, blue per face.
void FormatPLY(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent);

}  // namespace quarn
