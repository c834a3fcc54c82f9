// The terrain with as few triangles as its detail needs: the sampled grid simplified within a
// vertical error in map units, or to a triangle budget (adaptive_mesh.h). Each triangle takes
// its colour code by the rule of the full grid's, from its own corners.
#pragma once

#include <cstddef>
#include <optional>

#include "terrain_sampler.h"

namespace quarn {

struct SimplifiedTerrain {
    TerrainMesh mesh;     // the samples kept as its vertices, in grid order, and its triangles
    double largestError;  // in map units, at the samples
};

/// full simplified within maxError map units (none: only the budget) and maxTriangles (0: no
/// budget); its heights are divided by mapExtent.
SimplifiedTerrain SimplifyTerrain(const TerrainMesh& full, std::optional<double> maxError,
                                  std::size_t maxTriangles, float mapExtent);

}  // namespace quarn
