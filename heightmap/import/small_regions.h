// Small regions: a few pixels of one band inside another are strays that compression and
// lettering left, not land. The smooth surface would raise each into a hill or sink it into a
// pit, so each goes to the band around it.
#pragma once

#include <cstddef>
#include <optional>

#include "pixel_cells.h"

namespace quarn {

/// The size under which a region is a stray: 256 pixels, or a thousandth of a small image.
std::size_t SmallRegionSize(std::size_t pixels);

/// Gives every 4-connected region of one band smaller than SmallRegionSize the band that
/// most of the pixels bordering it have; the linework's band, when kept, is neither taken nor
/// given. The last step of cleaning: it clears every mark, leaving the bands.
void AbsorbSmallRegions(PixelCells& cells, std::optional<std::uint8_t> lineBand);

}  // namespace quarn
