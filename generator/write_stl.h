// The STL writer: the terrain as a closed solid for 3D printing, in binary STL.
//
// The solid is the terrain surface (the 3DF triangles on the same vertices), four side walls
// from the border vertices down to the bottom, and a flat bottom fanned from its centre over
// the walls' lower edges: every edge is shared by exactly two triangles, each wound
// counter-clockwise seen from outside, with its unit normal. Units are millimetres, x east and
// y north from the solid's south-west corner, z up from the bottom at 0. The grid's longer
// horizontal side (first to last vertex) measures options.printSizeMm, heights use the same
// millimetres per map unit times options.exaggeration, and the lowest terrain point stands
// options.baseMm above the bottom. All three must lie within their ranges (export_options.h), as
// the command line ensures: no solid is then degenerate.
#pragma once

#include <array>
#include <span>

#include "binary_io.h"
#include "export_options.h"
#include "print_solid.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes mesh as a binary STL solid scaled by options.
void FormatSTL(BinaryWriter& out, const TerrainMesh& mesh, const ExportOptions& options);

/// Writes a solid given by its vertices in millimetres and its triangles as a binary STL.
void FormatSTLSolid(BinaryWriter& out, std::span<const Point> vertices,
                    std::span<const std::array<std::size_t, 3>> triangles);

}  // namespace quarn
