#include "adaptive_mesh.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "candidate_heap.h"
#include "grid_triangulation.h"
#include "triangle_error.h"

namespace quarn {

namespace {

void RequireValid(const HeightGrid& grid, double maxError) {
    if (!(maxError >= 0))
        throw std::invalid_argument("The error bound must be 0 or more");
    const std::int64_t samples = std::int64_t(grid.cols) * grid.rows;
    if (grid.cols < 0 || grid.rows < 0 || samples > std::numeric_limits<std::int32_t>::max() ||
        grid.heights.size() != std::size_t(samples))
        throw std::invalid_argument("The heights do not fill the grid");
}

// The kept samples in row-major order and the triangles as indices into them.
AdaptiveMesh Collect(const GridTriangulation& mesh, std::int32_t cols,
                     const std::vector<double>& errors) {
    AdaptiveMesh result;
    std::vector<std::int32_t> order;
    for (std::int32_t v = 0; v < std::int32_t(mesh.vertexIds()); ++v)
        if (mesh.isVertex(v))
            order.push_back(v);
    const auto sample = [&](std::int32_t v) { return mesh.point(v).y * cols + mesh.point(v).x; };
    std::sort(order.begin(), order.end(),
              [&](std::int32_t u, std::int32_t v) { return sample(u) < sample(v); });
    std::vector<std::int32_t> index(mesh.vertexIds(), -1);
    for (std::size_t i = 0; i < order.size(); ++i) {
        result.samples.push_back(sample(order[i]));
        index[std::size_t(order[i])] = static_cast<std::int32_t>(i);
    }
    result.triangles.reserve(mesh.triangleCount());
    for (std::int32_t t = 0; t < std::int32_t(mesh.triangleIds()); ++t) {
        if (!mesh.isTriangle(t))
            continue;
        const auto& corners = mesh.corners(t);
        result.triangles.push_back({index[std::size_t(corners[0])], index[std::size_t(corners[1])],
                                    index[std::size_t(corners[2])]});
        result.largestError = std::max(result.largestError, errors[std::size_t(t)]);
    }
    return result;
}

SampleError WorstOf(const HeightGrid& grid, const GridTriangulation& mesh, std::int32_t t) {
    const auto& corners = mesh.corners(t);
    return WorstSample(grid, mesh.point(corners[0]), mesh.point(corners[1]),
                       mesh.point(corners[2]));
}

double ErrorIn(const HeightGrid& grid, const GridTriangulation& mesh,
               const std::array<std::int32_t, 3>& corners, GridPoint p) {
    return ErrorAt(grid, mesh.point(corners[0]), mesh.point(corners[1]), mesh.point(corners[2]), p);
}

// Whether the sample under the vertex, the likeliest to stray once it is gone, would stay
// within bound: a check without touching the triangulation.
bool PlanKeepsVertexSample(const HeightGrid& grid, double bound, const GridTriangulation& mesh,
                           const std::vector<std::array<std::int32_t, 3>>& filling,
                           GridPoint vertex) {
    for (const auto& corners : filling)
        if (const double error = ErrorIn(grid, mesh, corners, vertex); error >= 0)
            return error <= bound;
    return false;
}

// Whether every sample under the triangles made or changed lies within bound; their errors
// in errors.
bool ChangedWithinBound(const HeightGrid& grid, double bound, const GridTriangulation& mesh,
                        std::vector<std::pair<std::int32_t, double>>& errors) {
    errors.clear();
    for (const std::int32_t t : mesh.changed()) {
        const double error = WorstOf(grid, mesh, t).error;
        if (error > bound)
            return false;
        errors.emplace_back(t, error);
    }
    return true;
}

// Vertices made early, for large triangles since split again and again, are often no longer
// needed: each is taken out again, in the order made, when no sample then strays more than
// bound. A second pass finds more that the first made needless.
void RemoveNeedlessVertices(const HeightGrid& grid, double bound, GridTriangulation& mesh,
                            std::vector<double>& errors) {
    std::vector<std::pair<std::int32_t, double>> remeasured;
    for (int pass = 0; pass < 2; ++pass)
        for (std::int32_t v = 0; v < std::int32_t(mesh.vertexIds()); ++v) {
            const auto& filling = mesh.planRemoval(v);
            if (filling.empty() ||
                !PlanKeepsVertexSample(grid, bound, mesh, filling, mesh.point(v)))
                continue;
            mesh.removePlanned();
            if (!ChangedWithinBound(grid, bound, mesh, remeasured)) {
                mesh.undoRemoval();
                continue;
            }
            for (const auto& [t, error] : remeasured)
                errors[std::size_t(t)] = error;
        }
}

}  // namespace

AdaptiveMesh SimplifyGrid(const HeightGrid& grid, double maxError, std::size_t maxTriangles) {
    RequireValid(grid, maxError);
    if (grid.cols < 2 || grid.rows < 2)
        return {};
    GridTriangulation mesh(grid.cols, grid.rows);
    CandidateHeap heap;
    std::vector<double> errors;  // per triangle, of its worst sample
    const auto measure = [&](std::int32_t t) {
        const SampleError worst = WorstOf(grid, mesh, t);
        if (std::size_t(t) >= errors.size())
            errors.resize(std::size_t(t) + 1);
        errors[std::size_t(t)] = worst.error;
        if (worst.error > maxError)
            heap.set({worst.error, worst.sample, t});
        else
            heap.remove(t);
    };
    measure(0);
    measure(1);
    while (!heap.empty()) {
        const Candidate next = heap.top();
        const GridPoint p{next.sample % grid.cols, next.sample / grid.cols};
        if (maxTriangles != 0 &&
            mesh.triangleCount() + std::size_t(mesh.insertionGrowth(next.triangle, p)) >
                maxTriangles)
            return Collect(mesh, grid.cols, errors);
        for (const std::int32_t t : mesh.insert(next.triangle, p))
            measure(t);
    }
    RemoveNeedlessVertices(grid, maxError, mesh, errors);
    return Collect(mesh, grid.cols, errors);
}

}  // namespace quarn
