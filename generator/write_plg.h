// The PLG object writer (REND386): the sampled terrain as one object.
//
// Layout: a comment line, then "quarn_terrain N T", N vertex lines "x y z", T polygon lines
// "colour 3 a b c" with 0-based vertex indices. The colour is a REND386 surface value
// 0xSHBB: surface S = 1 (cosine-lit), brightness BB = 0xFF, and the hue nibble H carries the
// height class: water 1, lawn 2, mountain 3, snow 0 (no hue).
#pragma once

#include <cstdint>

#include "binary_io.h"
#include "terrain_sampler.h"

namespace quarn {

inline constexpr const char* kPlgObjectName = "quarn_terrain";

/// The PLG surface colour of a triangle colour code.
std::uint32_t PlgColour(std::int32_t colourCode);

/// Writes mesh as a PLG object.
void FormatPLG(BinaryWriter& out, const TerrainMesh& mesh);

}  // namespace quarn
