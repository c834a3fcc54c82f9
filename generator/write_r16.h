// The raw 16-bit heightmap writer (.r16): the heightmap's samples as little-endian 16-bit
// words, top row first, no header, as game engines import raw heightmaps; beside it an ENVI
// header (.hdr) with the size, the sample type and the map's place, so that GDAL and QGIS open
// it too.
#pragma once

#include "binary_io.h"
#include "heightmap16.h"
#include "output_formats.h"

namespace quarn {

/// Writes map's samples as raw little-endian 16-bit words.
void FormatR16(BinaryWriter& out, const Heightmap16& map);

/// Writes the heightmap's samples, and its ENVI header as the side file.
void WriteR16WithHeader(BinaryWriter& out, const HeightmapToWrite& heightmap);

}  // namespace quarn
