// An adaptive triangulation of a height grid: far fewer triangles than the full grid's two per
// square, within a vertical error bound at every sample.
//
// Starting from the grid's rectangle as two triangles and a coarse lattice of seed vertices,
// the sample of largest error is made a vertex, again and again, the triangulation of the kept
// samples made Delaunay again each time (Garland and Heckbert's greedy insertion), until no
// sample strays more than maxError from the surface; then the vertices that the bound no longer
// needs, seeds included, are taken out again (needless_vertices.h). With a budget there are no
// seeds, insertion stops where one more vertex would pass maxTriangles, and every vertex made
// stays. The error at a sample is its vertical
// distance from the triangle over it, as triangle_error.h computes it in double from the float
// heights; every sample counts, those on the outline and on edges too (a sample on an edge,
// for each triangle beside it). maxError 0 keeps every sample exactly on the surface, a flat
// area or a plane collapsing into a few triangles. The four corners are always kept; the
// outline loses samples where its heights run straight. A budget under 2 still gives the two
// triangles of the rectangle. Grids of fewer than 2 columns or rows have no triangles and give
// an empty mesh. Single-threaded and deterministic; heights must be finite. Beside the grid it
// holds about 60 bytes per triangle made (a grid of random heights, exact, keeps them all).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "height_grid.h"

namespace quarn {

struct AdaptiveMesh {
    std::vector<std::int32_t> samples;  // the samples kept as vertices, k = row * cols + col
    // Indices into samples, in the full grid's winding (clockwise seen from above in the
    // grid's file order).
    std::vector<std::array<std::int32_t, 3>> triangles;
    double largestError = 0;  // over all samples
};

/// The triangulation of grid within maxError (>= 0) of every sample, or the best one found
/// within maxTriangles (0: no budget); std::invalid_argument for a negative maxError or a
/// heights count other than cols * rows.
AdaptiveMesh SimplifyGrid(const HeightGrid& grid, double maxError, std::size_t maxTriangles);

}  // namespace quarn
