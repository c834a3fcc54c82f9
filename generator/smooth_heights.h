// The height of a pixel of the smooth surface from its distances to the neighbouring bands.
//
// Distances are in pixels, counted from the boundary halfway between pixel centres; heights
// are normalised like NormalisedLevels::norm. A boundary lies at the middle of the heights of
// the two regions it parts. See smooth_surface.h for the shape of the surface.
#pragma once

#include "smooth_regions.h"

namespace quarn {

/// The slope across a pixel of a two-sided region, lowDistance from its nearest pixel in
/// region low and highDistance from its nearest in region high.
double RampAt(const Region& region, float lowDistance, const Region& low, float highDistance,
              const Region& high);

/// The height of that pixel: a monotonic cubic between the boundaries, its slope at each the
/// mean of the ramps on either side.
float HeightBetween(const Region& region, float lowDistance, const Region& low, float highDistance,
                    const Region& high);

/// The height of a pixel of a one-sided region distance from its nearest pixel in region
/// beside: the slope of the ramps around, levelling off at most at the band's own height.
float HeightBeyond(const Region& region, float distance, const Region& beside);

}  // namespace quarn
