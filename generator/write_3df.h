// The 3DF writer: the sampled terrain in the system's own binary format.
#pragma once

#include "binary_io.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes mesh as a complete 3DF byte stream.
void Format3DF(BinaryWriter& out, const TerrainMesh& mesh);

}  // namespace quarn
