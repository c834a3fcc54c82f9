// The benchmarks' maps: 4-bit BMPs whose 16 palette colours stand for 16 height bands.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "map_raster.h"

namespace quarn::bench {

/// The 16 colours of the maps written here, by palette index.
SwatchColours BandColours();

/// The quarn3d-cli command line that generates output from a side x side band map at
/// CellSize 4, band b at height 100 b (Water 100, Lawn 400, Snow 1200).
std::vector<std::string> GenerateArguments(const std::string& cli, const std::string& map,
                                           const std::string& output, int side);

/// Writes a side x side 4-bit BMP whose pixel (x, y), y from the top, shows band bandOf(x, y).
void WriteBandMap(const std::string& path, int side,
                  const std::function<std::uint8_t(int x, int y)>& bandOf);

/// Writes a width x height 4-bit BMP of palette's colours whose pixel (x, y), y from the top,
/// shows band bandOf(x, y).
void WriteBandMap(const std::string& path, int width, int height, const SwatchColours& palette,
                  const std::function<std::uint8_t(int x, int y)>& bandOf);

}  // namespace quarn::bench
