// The raw 16-bit heightmap writer (.r16): the heightmap's samples as little-endian 16-bit
// words, top row first, no header, as game engines import raw heightmaps.
#pragma once

#include "binary_io.h"
#include "heightmap16.h"

namespace quarn {

/// Writes map's samples as raw little-endian 16-bit words.
void FormatR16(BinaryWriter& out, const Heightmap16& map);

}  // namespace quarn
