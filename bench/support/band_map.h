// The benchmarks' maps: 4-bit BMPs whose 16 palette colours stand for 16 height bands.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "map_raster.h"

namespace quarn::bench {

/// The 16 colours of the maps written here, by palette index.
SwatchColours BandColours();

/// Writes a side x side 4-bit BMP whose pixel (x, y), y from the top, shows band bandOf(x, y).
void WriteBandMap(const std::string& path, int side,
                  const std::function<std::uint8_t(int x, int y)>& bandOf);

}  // namespace quarn::bench
