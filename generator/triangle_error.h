// How far a triangle of grid samples strays, vertically, from the samples it covers.
//
// The surface over a triangle (a, b, c) of samples is the plane through their heights. At a
// sample p of the triangle (inside or on an edge) its height is the barycentric mean
//     (wa za + wb zb + wc zc) / D,   D = wa + wb + wc,
// with integer weights: wa is twice the area of (p, b, c), wb of (p, c, a), wc of (p, a, b).
// The error at p is |(wa za + wb zb) + wc zc - D h| / D, computed in double in that order from
// the float heights. Below D = 2^29 (grids up to 16384 x 16384) every product is exact, so the
// value is the same wherever the formula is written and the error at a corner, or anywhere
// on a flat triangle, is exactly 0.
#pragma once

#include <cstdint>

#include "grid_triangulation.h"
#include "height_grid.h"

namespace quarn {

struct SampleError {
    std::int32_t sample = 0;  // k = row * cols + col
    double error = 0;
};

/// The triangle's sample of largest error, the first in row-major order among equals; the
/// corners are in the grid's winding.
SampleError WorstSample(const HeightGrid& grid, GridPoint a, GridPoint b, GridPoint c);

/// WorstSample of the triangulation's triangle.
SampleError WorstSampleOf(const HeightGrid& grid, const GridTriangulation& mesh,
                          std::int32_t triangle);

/// The error at the sample p of the triangle (a, b, c); -1 when p lies outside it.
double ErrorAt(const HeightGrid& grid, GridPoint a, GridPoint b, GridPoint c, GridPoint p);

}  // namespace quarn
