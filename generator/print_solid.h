// The printed solid's geometry that the STL and 3MF writers share: the surface's vertices in
// millimetres and the border of the grid, along which the walls go down to the bottom.
//
// Millimetres run x east and y north from the solid's south-west corner, z up from the bottom
// at 0. The grid's longer horizontal side (first to last vertex) measures options.printSizeMm,
// heights use the same millimetres per map unit times options.exaggeration, and the lowest
// terrain point stands options.baseMm above the bottom.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "export_options.h"
#include "terrain_sampler.h"

namespace quarn {

using Point = std::array<float, 3>;

/// How the terrain's plane and heights become millimetres.
struct SolidScale {
    double west = 0, south = 0;  // the plane's coordinates at the solid's south-west corner
    double mmPerUnit = 0;        // millimetres per unit of the plane
    double mmPerH = 0;           // millimetres per unit of normalised height
    float lowest = 0;            // the lowest normalised height, standing at the base
    double baseMm = 0;

    /// The height in millimetres of a normalised height h.
    float heightMm(float h) const;
};

SolidScale ScaleOf(const TerrainMesh& mesh, const ExportOptions& options);

/// The index of mesh's lowest vertex (the first of equals), which stands on the base.
std::size_t LowestVertex(const TerrainMesh& mesh);

/// Every vertex in millimetres, computed once so that shared corners are bit-identical.
std::vector<Point> SurfacePoints(const TerrainMesh& mesh, const ExportOptions& options);

/// The full grid's border vertices counter-clockwise seen from above, from the south-west
/// corner.
std::vector<std::size_t> BorderLoop(std::size_t cols, std::size_t rows);

/// The simplified mesh's border vertices counter-clockwise seen from above, from the
/// south-west corner, split at the four corners into the four sides (each from corner to corner).
std::array<std::vector<std::size_t>, 4> BorderSides(const TerrainMesh& mesh);

}  // namespace quarn
