#include "preview_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_set>
#include <vector>

namespace quarn {

namespace {

// Cells across and down such that two triangles a cell make about maxTriangles.
struct ClusterGrid {
    float left = 0, bottom = 0, cellSize = 1;
    std::int64_t cols = 1, rows = 1;

    std::int64_t cellOf(const Vertex& v) const {
        const auto col =
            std::clamp<std::int64_t>(std::int64_t((v.x - left) / cellSize), 0, cols - 1);
        const auto row =
            std::clamp<std::int64_t>(std::int64_t((v.y - bottom) / cellSize), 0, rows - 1);
        return row * cols + col;
    }
};

ClusterGrid GridOver(std::span<const Vertex> vertices, std::size_t maxTriangles) {
    float left = std::numeric_limits<float>::max(), bottom = left, right = -left, top = -left;
    for (const Vertex& v : vertices) {
        left = std::min(left, v.x), right = std::max(right, v.x);
        bottom = std::min(bottom, v.y), top = std::max(top, v.y);
    }
    const double width = std::max(double(right) - left, 1e-30);
    const double height = std::max(double(top) - bottom, 1e-30);
    const double cells = std::max(1.0, double(maxTriangles) / 2);
    // A scene with no breadth (a line) still gets no more cells than triangles.
    const double size =
        std::max(std::sqrt(width * height / cells), std::max(width, height) / cells);
    ClusterGrid grid;
    grid.left = left, grid.bottom = bottom, grid.cellSize = float(size);
    grid.cols = std::max<std::int64_t>(1, std::int64_t(std::ceil(width / size)));
    grid.rows = std::max<std::int64_t>(1, std::int64_t(std::ceil(height / size)));
    return grid;
}

}  // namespace

Scene PreviewScene(const Scene& scene, std::size_t maxTriangles) {
    if (scene.size() <= maxTriangles)
        return scene;
    const std::span<const Vertex> vertices = scene.vertices();
    const ClusterGrid grid = GridOver(vertices, maxTriangles);
    std::vector<std::int32_t> clusterOfCell(std::size_t(grid.cols * grid.rows), -1);
    std::vector<std::int32_t> clusterOf(vertices.size());
    std::vector<Vertex> kept;
    for (std::size_t k = 0; k < vertices.size(); ++k) {
        std::int32_t& cluster = clusterOfCell[std::size_t(grid.cellOf(vertices[k]))];
        if (cluster < 0) {
            cluster = static_cast<std::int32_t>(kept.size());
            kept.push_back(vertices[k]);
        }
        clusterOf[k] = cluster;
    }
    std::vector<Triangle> triangles;
    std::unordered_set<std::uint64_t> joined;
    for (const Triangle& t : scene.triangles()) {
        const std::int32_t a = clusterOf[std::size_t(t.a)], b = clusterOf[std::size_t(t.b)];
        const std::int32_t c = clusterOf[std::size_t(t.c)];
        if (a == b || b == c || a == c)
            continue;
        std::int32_t sorted[3] = {a, b, c};
        std::sort(sorted, sorted + 3);
        const std::uint64_t key = std::uint64_t(sorted[0]) << 42 | std::uint64_t(sorted[1]) << 21 |
                                  std::uint64_t(sorted[2]);
        if (joined.insert(key).second)
            triangles.push_back({a, b, c, t.colour});
    }
    Scene preview;
    preview.setVertices(std::move(kept));
    preview.setTriangles(std::move(triangles));
    preview.dropUnusedVertices();
    return preview;
}

}  // namespace quarn
