#include "smooth_heights.h"

#include <algorithm>
#include <cmath>

namespace quarn {

namespace {

float Middle(float a, float b) {
    return (a + b) / 2;
}

// The slope at a boundary with neighbour: the mean of the two ramps where the neighbour has
// one, within what keeps the cubic monotonic.
double BoundarySlope(double slope, const Region& neighbour) {
    return neighbour.twoSided() ? std::clamp((slope + neighbour.ramp()) / 2, 0.0, 3 * slope)
                                : slope;
}

}  // namespace

double RampAt(const Region& region, float lowDistance, const Region& low, float highDistance,
              const Region& high) {
    const double lowBoundary = Middle(region.height, low.height);
    const double highBoundary = Middle(region.height, high.height);
    return (highBoundary - lowBoundary) / (lowDistance + highDistance);
}

float HeightBetween(const Region& region, float lowDistance, const Region& low, float highDistance,
                    const Region& high) {
    const double lowBoundary = Middle(region.height, low.height);
    const double highBoundary = Middle(region.height, high.height);
    const double rise = highBoundary - lowBoundary;
    const double width = lowDistance + highDistance, slope = rise / width;
    const double m0 = BoundarySlope(slope, low), m1 = BoundarySlope(slope, high);
    const double t = lowDistance / width, t2 = t * t, t3 = t2 * t;
    return static_cast<float>(lowBoundary + rise * (3 * t2 - 2 * t3) +
                              width * (m0 * (t3 - 2 * t2 + t) + m1 * (t3 - t2)));
}

float HeightBeyond(const Region& region, float distance, const Region& beside) {
    const float own = region.height;
    const float edge = Middle(own, beside.height);
    const double span = std::abs(own - edge);
    // With no ramp around, a region cut off by the edge rises to its own height at its
    // farthest pixel, so two bands alone make one straight ramp.
    const double slope =
        region.cutByEdge && region.around() == 0 ? span / region.farthest : region.around();
    double rise = slope * distance;
    // A summit or pit levels off like a paraboloid, at its farthest pixel when the slope
    // allows, at most at the band's own height; a region cut off by the map's edge whose band
    // the slope does not cross within the map is a slope going on past the edge.
    if (!region.cutByEdge || slope * region.farthest > 2 * span) {
        const double top = slope > 0 ? std::min(slope * region.farthest / 2, span) : span;
        const double flatFrom = slope > 0 ? std::min(double(region.farthest), 2 * top / slope)
                                          : double(region.farthest);
        const double t = 1 - std::min(1.0, distance / flatFrom);
        rise = top * (1 - t * t);
    }
    return static_cast<float>(edge + std::copysign(rise, own - edge));
}

}  // namespace quarn
