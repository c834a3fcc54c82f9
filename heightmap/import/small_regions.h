// Small regions: a few pixels of one band inside another are specks that compression and
// lettering left, not land. The smooth surface would raise each into a hill or sink it into a
// pit, so each goes to the band around it.
#pragma once

#include <cstddef>
#include <optional>

#include "pixel_cells.h"

namespace quarn {

inline constexpr std::size_t kSmallRegion = 256;

/// Gives every 4-connected region of one band smaller than kSmallRegion pixels the band that
/// most of the pixels bordering it have; the linework's band, when kept, is neither taken nor
/// given. The last step of cleaning: it clears every mark, leaving the bands.
void AbsorbSmallRegions(PixelCells& cells, std::optional<std::uint8_t> lineBand);

}  // namespace quarn
