// Taking out again the vertices of an adaptive mesh that its error bound no longer needs.
//
// Greedy insertion keeps every vertex it makes, though many made early, for large triangles
// since split again and again, end up needless. Each vertex, in the order made, is taken out
// when every sample of the triangles that fill its hole (the Delaunay triangulation of its
// neighbours) stays within the bound; the sample under the vertex, the likeliest to stray, is
// checked first on the planned filling. Passes follow until one takes none out, each trying
// only the vertices whose neighbourhood has changed since they were last tried.
#pragma once

#include "grid_triangulation.h"
#include "height_grid.h"

namespace quarn {

/// Removes what vertices of mesh it can, every sample staying within bound.
void RemoveNeedlessVertices(const HeightGrid& grid, double bound, GridTriangulation& mesh);

}  // namespace quarn
