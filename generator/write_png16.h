// The 16-bit heightmap PNG writer (.png): the heightmap as a 16-bit greyscale picture encoded
// by the platform's PNG writer, with its height range in the text chunk kHeightRangeKey
// ("-350..470 map units": the heights of samples 0 and 65535).
#pragma once

#include "binary_io.h"
#include "heightmap16.h"

namespace quarn {

inline constexpr const char* kHeightRangeKey = "Quarn3D-HeightRange";

/// Writes map as a complete 16-bit greyscale PNG.
void FormatPNG16(BinaryWriter& out, const Heightmap16& map);

}  // namespace quarn
