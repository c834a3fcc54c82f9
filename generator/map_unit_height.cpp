#include "map_unit_height.h"

#include <charconv>
#include <cmath>
#include <initializer_list>

#include "checked_float.h"

namespace quarn {

float NormalisedHeight(float mapUnits, float mapExtent) {
    return CheckedToFloat(CheckedDivide(mapUnits, mapExtent));
}

float MapUnitHeight(float normalised, float mapExtent) {
    const float nearest = CheckedToFloat(double{normalised} * mapExtent);
    // Seven digits: a float's own precision, without the noise of the division it came from.
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, nearest, std::chars_format::general, 7);
    float rounded = nearest;
    std::from_chars(text, written.ptr, rounded);
    for (const float candidate :
         {rounded, nearest, std::nextafter(nearest, INFINITY), std::nextafter(nearest, -INFINITY)})
        if (NormalisedHeight(candidate, mapExtent) == normalised)
            return candidate;
    return nearest;
}

}  // namespace quarn
