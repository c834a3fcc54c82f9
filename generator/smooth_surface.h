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
// Runs in time linear in the pixels per distinct set height, with 16 bytes per pixel of
// buffers (the result included) beside the raster.
#pragma once

#include <vector>

#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

/// The smooth height of every pixel, row after row from the top (width * height entries).
std::vector<float> SmoothSurface(const ClassifiedRaster& raster, const NormalisedLevels& levels);

}  // namespace quarn
