// The 3D Studio ASCII scene writer: the sampled terrain as one named triangle mesh.
//
// Layout: a "Named object:" line, "Tri-mesh, Vertices: N Faces: T", "Vertex list:" with one
// "Vertex k: X: x Y: y Z: z" line per vertex, "Face list:" with one
// "Face i: A:a B:b C:c AB:1 BC:1 CA:1" line per triangle, each followed by a material line
// that names its height class ("WATER", "LAWN", "MOUNTAIN", "SNOW").
#pragma once

#include <cstdint>

#include "binary_io.h"
#include "terrain_sampler.h"

namespace quarn {

inline constexpr const char* kAscObjectName = "Quarn terrain";

/// The material name of a triangle colour code.
const char* AscMaterialName(std::int32_t colourCode);

/// Writes mesh as a 3D Studio ASCII scene.
void FormatASC(BinaryWriter& out, const TerrainMesh& mesh);

}  // namespace quarn
