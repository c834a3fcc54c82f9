// The RAW triangle writer: one line of nine numbers per triangle, the x, y and z of its three
// corners in order, separated by single spaces. No header, no colour (no shading).
#pragma once

#include "binary_io.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes mesh as RAW triangles.
void FormatRAW(BinaryWriter& out, const TerrainMesh& mesh);

}  // namespace quarn
