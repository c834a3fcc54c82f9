// The PLY writer: the terrain in map units as binary little-endian PLY with a colour per face
// and per vertex (Blender reads only the vertices'), for MeshLab, Blender and CloudCompare.
#pragma once

#include "binary_io.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes mesh as PLY: float x, y, z and red, green, blue per vertex, a vertex once for each
/// height class around it; three int corners and red, green, blue per face.
void FormatPLY(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent);

}  // namespace quarn
