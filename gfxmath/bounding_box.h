// The extent of a set of points: the smallest and largest coordinate met along each axis.
//
// An empty box starts with every minimum at 1.7e38 and every maximum at -1.7e38, so the first
// point sets both; a coordinate beyond that range in magnitude moves only one side. NaN
// compares false and would move nothing: callers refuse it before widening.
#pragma once

#include "vec3.h"

namespace quarn {

struct BoundingBox {
    static constexpr float kStart = 1.7e38f;

    Vec3 min{kStart, kStart, kStart};
    Vec3 max{-kStart, -kStart, -kStart};

    /// Lowers a minimum or raises a maximum wherever p lies beyond it.
    void widen(const Vec3& p);
    /// Widens bound by bound with the box of later points, as widening with each of them
    /// would (an empty box changes nothing).
    void widen(const BoundingBox& later);
};

}  // namespace quarn
