// The raw 16-bit heightmap writer (.r16): the heightmap's samples as little-endian 16-bit
// words, top row first, no header, as game engines import raw heightmaps.
#pragma once

#include <string>

#include "grid_setup.h"
#include "map_raster.h"

namespace quarn {

/// Writes fileName as a raw 16-bit heightmap and sets LastHeightRange; false when refused.
bool Write_R16(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);

}  // namespace quarn
