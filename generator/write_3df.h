// The 3DF writer: the sampled terrain in the system's own binary format.
#pragma once

#include <string>

#include "binary_io.h"
#include "grid_setup.h"
#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes mesh as a complete 3DF byte stream.
void Format3DF(BinaryWriter& out, const TerrainMesh& mesh);

/// Writes fileName as 3DF from the grid set-up and the classified map; false when refused.
bool Write_3DF(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);

}  // namespace quarn
