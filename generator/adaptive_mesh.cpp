#include "adaptive_mesh.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "candidate_heap.h"
#include "grid_triangulation.h"
#include "needless_vertices.h"
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
AdaptiveMesh Collect(const GridTriangulation& mesh, std::int32_t cols, double largestError) {
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
    }
    result.largestError = largestError;
    return result;
}

double LargestError(const HeightGrid& grid, const GridTriangulation& mesh) {
    double largest = 0;
    for (std::int32_t t = 0; t < std::int32_t(mesh.triangleIds()); ++t)
        if (mesh.isTriangle(t))
            largest = std::max(largest, WorstSampleOf(grid, mesh, t).error);
    return largest;
}

// Samples per side of the cells of the seed lattice.
constexpr std::int32_t kSeedSpacing = 64;

// Vertices at the corners of cells about kSeedSpacing samples on a side, evenly spread. They
// spare the greedy insertion its first few hundred steps, each of which scans most of the
// grid again for triangles that span it; the seeds the bound does not need go again with the
// other needless vertices.
void SeedLattice(const HeightGrid& grid, GridTriangulation& mesh) {
    const std::int64_t across = (grid.cols - 2) / kSeedSpacing + 1;
    const std::int64_t down = (grid.rows - 2) / kSeedSpacing + 1;
    std::int32_t near = 0;
    for (std::int64_t i = 0; i <= down; ++i)
        for (std::int64_t j = 0; j <= across; ++j) {
            if ((i == 0 || i == down) && (j == 0 || j == across))
                continue;
            const GridPoint p{std::int32_t(j * (grid.cols - 1) / across),
                              std::int32_t(i * (grid.rows - 1) / down)};
            near = mesh.insert(mesh.locate(p, near), p).front();
        }
}

}  // namespace

AdaptiveMesh SimplifyGrid(const HeightGrid& grid, double maxError, std::size_t maxTriangles) {
    RequireValid(grid, maxError);
    if (grid.cols < 2 || grid.rows < 2)
        return {};
    GridTriangulation mesh(grid.cols, grid.rows);
    CandidateHeap heap;
    const auto measure = [&](std::int32_t t) {
        const SampleError worst = WorstSampleOf(grid, mesh, t);
        if (worst.error > maxError)
            heap.set({worst.error, worst.sample, t});
        else
            heap.remove(t);
    };
    // Under a budget no vertex goes again: seeds in flat ground would waste it.
    if (maxTriangles == 0)
        SeedLattice(grid, mesh);
    for (std::int32_t t = 0; t < std::int32_t(mesh.triangleIds()); ++t)
        measure(t);
    while (!heap.empty()) {
        const Candidate next = heap.top();
        const GridPoint p{next.sample % grid.cols, next.sample / grid.cols};
        if (maxTriangles != 0 &&
            mesh.triangleCount() + std::size_t(mesh.insertionGrowth(next.triangle, p)) >
                maxTriangles)
            // What is left in the heap strays further than any triangle outside it.
            return Collect(mesh, grid.cols, next.error);
        for (const std::int32_t t : mesh.insert(next.triangle, p))
            measure(t);
    }
    RemoveNeedlessVertices(grid, maxError, mesh);
    return Collect(mesh, grid.cols, LargestError(grid, mesh));
}

}  // namespace quarn
