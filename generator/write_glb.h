// The glTF binary writer: the terrain as one .glb file for three.js, Babylon.js, Blender and
// game engines, +Y up with map units as metres (x east, y height, z south).
//
// One mesh whose primitives, one per height class present, share a single position accessor
// and each carry 32-bit indices and a plain, non-metallic material of the class colour.
#pragma once

#include "binary_io.h"
#include "terrain_sampler.h"

namespace quarn {

inline constexpr const char* kGlbTooLargeText = "Too many vertices for a glTF binary file";

/// Writes mesh as a complete GLB byte stream; a file past 4 GiB raises kGlbTooLargeText.
void FormatGLB(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent);

}  // namespace quarn
