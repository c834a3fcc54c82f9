#include "needless_vertices.h"

#include <vector>

#include "triangle_error.h"

namespace quarn {

namespace {

// Whether the sample under the vertex, the likeliest to stray once it is gone, would stay
// within bound: a check without touching the triangulation.
bool PlanKeepsVertexSample(const HeightGrid& grid, double bound, const GridTriangulation& mesh,
                           const std::vector<std::array<std::int32_t, 3>>& filling,
                           GridPoint vertex) {
    for (const auto& [a, b, c] : filling) {
        const double error = ErrorAt(grid, mesh.point(a), mesh.point(b), mesh.point(c), vertex);
        if (error >= 0)
            return error <= bound;
    }
    return false;
}

// Whether every sample under the triangles made or changed lies within bound.
bool ChangedWithinBound(const HeightGrid& grid, double bound, const GridTriangulation& mesh) {
    for (const std::int32_t t : mesh.changed())
        if (WorstSampleOf(grid, mesh, t).error > bound)
            return false;
    return true;
}

}  // namespace

void RemoveNeedlessVertices(const HeightGrid& grid, double bound, GridTriangulation& mesh) {
    // A vertex whose neighbourhood has not changed since it was tried would fail again.
    std::vector<bool> worthTrying(mesh.vertexIds(), true);
    for (bool removed = true; removed;) {
        removed = false;
        for (std::int32_t v = 0; v < std::int32_t(mesh.vertexIds()); ++v) {
            if (!worthTrying[std::size_t(v)])
                continue;
            worthTrying[std::size_t(v)] = false;
            const auto& filling = mesh.planRemoval(v);
            if (filling.empty() ||
                !PlanKeepsVertexSample(grid, bound, mesh, filling, mesh.point(v)))
                continue;
            mesh.removePlanned();
            if (!ChangedWithinBound(grid, bound, mesh)) {
                mesh.undoRemoval();
                continue;
            }
            removed = true;
            for (const std::int32_t t : mesh.changed())
                for (const std::int32_t corner : mesh.corners(t))
                    worthTrying[std::size_t(corner)] = true;
        }
    }
}

}  // namespace quarn
