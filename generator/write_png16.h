// The 16-bit heightmap PNG writer (.png): the heightmap as a 16-bit greyscale picture encoded
// by the platform's PNG writer, with its height range in the text chunk kHeightRangeKey
// ("-350..470 map units": the heights of samples 0 and 65535). A map placed on Earth gives the
// PNG a world file (.pgw) and its coordinate system (.prj) beside it.
#pragma once

#include "binary_io.h"
#include "grey16_image.h"
#include "heightmap16.h"
#include "output_formats.h"

namespace quarn {

/// Writes map as a complete 16-bit greyscale PNG.
void FormatPNG16(BinaryWriter& out, const Heightmap16& map);

/// Writes the heightmap's PNG, and with a place its world file and .prj beside it.
void WritePNG16Placed(BinaryWriter& out, const HeightmapToWrite& heightmap);

}  // namespace quarn
