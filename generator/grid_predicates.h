// Exact orientation and circle tests on integer grid points up to 2^30 apart.
#pragma once

#include <cstdint>

#include "grid_triangulation.h"

namespace quarn {

__extension__ using WideInt = __int128;

/// Twice the signed area of (a, b, r): positive when r lies on the inner side of the edge
/// a -> b of a triangle in the grid's winding.
inline std::int64_t Cross(GridPoint a, GridPoint b, GridPoint r) {
    return (std::int64_t(b.x) - a.x) * (std::int64_t(r.y) - a.y) -
           (std::int64_t(b.y) - a.y) * (std::int64_t(r.x) - a.x);
}

/// Positive when d lies inside the circle through the triangle (a, b, c), which has the
/// grid's winding; Cross(a, b, c) times a measure of how far inside.
inline WideInt InCircleDeterminant(GridPoint a, GridPoint b, GridPoint c, GridPoint d) {
    const std::int64_t adx = std::int64_t(a.x) - d.x, ady = std::int64_t(a.y) - d.y;
    const std::int64_t bdx = std::int64_t(b.x) - d.x, bdy = std::int64_t(b.y) - d.y;
    const std::int64_t cdx = std::int64_t(c.x) - d.x, cdy = std::int64_t(c.y) - d.y;
    return WideInt(adx * adx + ady * ady) * WideInt(bdx * cdy - cdx * bdy) +
           WideInt(bdx * bdx + bdy * bdy) * WideInt(cdx * ady - adx * cdy) +
           WideInt(cdx * cdx + cdy * cdy) * WideInt(adx * bdy - bdx * ady);
}

}  // namespace quarn
