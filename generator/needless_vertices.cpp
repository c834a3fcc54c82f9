#include "needless_vertices.h"

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
    for (int pass = 0; pass < 2; ++pass)
        for (std::int32_t v = 0; v < std::int32_t(mesh.vertexIds()); ++v) {
            const auto& filling = mesh.planRemoval(v);
            if (filling.empty() ||
                !PlanKeepsVertexSample(grid, bound, mesh, filling, mesh.point(v)))
                continue;
            mesh.removePlanned();
            if (!ChangedWithinBound(grid, bound, mesh))
                mesh.undoRemoval();
        }
}

}  // namespace quarn
