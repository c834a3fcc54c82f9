// The 16-bit heightmap PNG writer (.png): the heightmap as a 16-bit greyscale picture encoded
// by the platform's PNG writer, with its height range in the text chunk kHeightRangeKey
// ("-350..470 map units": the heights of samples 0 and 65535).
#pragma once

#include <string>

#include "grid_setup.h"
#include "map_raster.h"

namespace quarn {

inline constexpr const char* kHeightRangeKey = "Quarn3D-HeightRange";

/// Writes fileName as a 16-bit heightmap PNG and sets LastHeightRange; false when refused.
bool Write_PNG16(const GridSetup& setup, const ClassifiedRaster& raster,
                 const std::string& fileName);

}  // namespace quarn
