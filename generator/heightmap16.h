// The terrain as a 16-bit heightmap, the form game engines import.
//
// One sample per grid vertex, row after row from the top: 0 stands for the terrain's lowest
// vertex height, 65535 for its highest, linear between and rounded to the nearest (halves to
// even). A flat terrain is all 0. Heights are those of the 3DF file, after the Water level.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "terrain_sampler.h"

namespace quarn {

/// The heights that samples 0 and 65535 stand for, in map units (as typed into the panel).
struct HeightRange {
    float low = 0, high = 0;
};

struct Heightmap16 {
    std::int32_t cols = 0, rows = 0;
    std::vector<std::uint16_t> samples;  // k = row * cols + col, top row first
    HeightRange range;
};

/// The heightmap of mesh, whose heights are divided by mapExtent.
Heightmap16 MakeHeightmap16(const TerrainMesh& mesh, float mapExtent);

/// "LOW..HIGH map units", the range as the PNG's text and the command line show it.
std::string HeightRangeText(const HeightRange& range);

/// "COLS x ROWS samples, heights LOW..HIGH map units at 0 and 65535": what a raw .r16, which
/// has no header, needs to be read, and which side is which on a grid that is not square.
std::string HeightmapSummary(std::int32_t cols, std::int32_t rows, const HeightRange& range);

}  // namespace quarn
