// The smooth surface: a height per pixel interpolated between the contour bands.
//
// The terraced surface gives every pixel its colour's height, so each band is a flat terrace
// and each contour a cliff. Here a band's boundary with a neighbouring band lies at the middle
// of the two bands' heights, and inside the band the height runs from its lower boundary to its
// upper one by the pixel's distances to the nearest pixel of a lower band and of a higher band
// (exact Euclidean distances, in pixels, measured from the boundary halfway between pixel
// centres). It runs along a monotonic cubic whose slope at each boundary is the mean of the
// ramps on either side, so the surface bends through the contours instead of kinking at
// them. Heights are normalised like NormalisedLevels::norm.
//
// Edge cases:
// - A connected region of a band that touches no higher band (a summit) rises from its lower
//   boundary with the slope of the ramps around it and levels off like a paraboloid, at its
//   pixel farthest from the boundary when that slope allows, at most at the band's own height
//   (half a band beyond the boundary; at that height at the farthest pixel when there is no
//   ramp around to follow). A region touching no lower band (a pit) falls likewise; one
//   touching neither stays flat.
// - The map's edge is no boundary: distances ignore it. A region cut off by the edge whose
//   band the slope around it would not cross within the map is a slope going on past the edge
//   and keeps that slope; otherwise it levels off like a summit.
// - Pixels whose colour has no height (unset or no swatch) take the height of the nearest pixel
//   that has one; with no such pixel on the map, every pixel takes the mean of the set heights.
// Runs in time linear in the pixels per distinct set height, in two passes over bands of up
// to 256 rows (the first gathers each region's slopes, the second gives the heights), and hands
// the heights out band by band, so no surface of the whole map is ever held. Beside the raster
// it holds 2 bytes per pixel for the regions (4 on maps of 65535 regions or more), 13 bytes
// per pixel of a band plus 2 per core (4 on maps of 65535 rows or more), 2 bytes (or 4) per
// column for each distinct height and band, and 12 bytes per pixel beside one without height.
// SmoothSurface collects the bands into a float per pixel more.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

/// Receives the heights of rows firstRow..firstRow + rowCount - 1, row after row
/// (rowCount * width values), which last only during the call.
using SmoothBand =
    std::function<void(std::int32_t firstRow, std::int32_t rowCount, const float* heights)>;

/// Hands the smooth heights to band in consecutive bands of rows from the top.
void ForEachSmoothBand(const ClassifiedRaster& raster, const NormalisedLevels& levels,
                       const SmoothBand& band);

/// The smooth height of every pixel, row after row from the top (width * height entries).
std::vector<float> SmoothSurface(const ClassifiedRaster& raster, const NormalisedLevels& levels);

}  // namespace quarn
