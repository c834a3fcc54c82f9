#include "print_solid.h"

#include <algorithm>
#include <utility>

#include "checked_float.h"

namespace quarn {

float SolidScale::heightMm(float h) const {
    return CheckedToFloat(baseMm + (double{h} - lowest) * mmPerH);
}

std::size_t LowestVertex(const TerrainMesh& mesh) {
    return std::size_t(std::min_element(mesh.vertices.begin(), mesh.vertices.end(),
                                        [](const auto& p, const auto& q) { return p.h < q.h; }) -
                       mesh.vertices.begin());
}

SolidScale ScaleOf(const TerrainMesh& mesh, const ExportOptions& options) {
    // The grid's corners are vertices of any mesh of it: the extremes are theirs.
    const auto [westmost, eastmost] = std::minmax_element(
        mesh.vertices.begin(), mesh.vertices.end(),
        [](const SampledVertex& p, const SampledVertex& q) { return p.x < q.x; });
    const auto [southmost, northmost] = std::minmax_element(
        mesh.vertices.begin(), mesh.vertices.end(),
        [](const SampledVertex& p, const SampledVertex& q) { return p.y < q.y; });
    SolidScale scale;
    scale.west = westmost->x;
    scale.south = southmost->y;
    const double width = eastmost->x - scale.west;
    const double depth = northmost->y - scale.south;
    scale.mmPerUnit = CheckedDivide(options.printSizeMm, std::max(width, depth));
    // The plane spans 2 / MapExtent per map unit and h is height / MapExtent.
    scale.mmPerH = 2 * scale.mmPerUnit * options.exaggeration;
    scale.lowest = mesh.vertices[LowestVertex(mesh)].h;
    scale.baseMm = options.baseMm;
    return scale;
}

std::vector<Point> SurfacePoints(const TerrainMesh& mesh, const ExportOptions& options) {
    const SolidScale scale = ScaleOf(mesh, options);
    std::vector<Point> points;
    points.reserve(mesh.vertices.size());
    for (const SampledVertex& v : mesh.vertices)
        points.push_back({CheckedToFloat((v.x - scale.west) * scale.mmPerUnit),
                          CheckedToFloat((v.y - scale.south) * scale.mmPerUnit),
                          scale.heightMm(v.h)});
    return points;
}

std::vector<std::size_t> BorderLoop(std::size_t cols, std::size_t rows) {
    std::vector<std::size_t> loop;
    for (std::size_t j = 0; j + 1 < cols; ++j)
        loop.push_back((rows - 1) * cols + j);
    for (std::size_t i = rows - 1; i > 0; --i)
        loop.push_back(i * cols + cols - 1);
    for (std::size_t j = cols - 1; j > 0; --j)
        loop.push_back(j);
    for (std::size_t i = 0; i + 1 < rows; ++i)
        loop.push_back(i * cols);
    return loop;
}

std::array<std::vector<std::size_t>, 4> BorderSides(const TerrainMesh& mesh) {
    const std::int32_t cols = mesh.cols, rows = mesh.rows;
    std::array<std::vector<std::pair<std::int32_t, std::size_t>>, 4> sides;  // order key, vertex
    for (std::size_t v = 0; v < mesh.samples.size(); ++v) {
        const std::int32_t row = mesh.samples[v] / cols, col = mesh.samples[v] % cols;
        if (row == rows - 1)
            sides[0].emplace_back(col, v);  // south, west to east
        if (col == cols - 1)
            sides[1].emplace_back(rows - 1 - row, v);  // east, south to north
        if (row == 0)
            sides[2].emplace_back(cols - 1 - col, v);  // north, east to west
        if (col == 0)
            sides[3].emplace_back(row, v);  // west, north to south
    }
    std::array<std::vector<std::size_t>, 4> ordered;
    for (std::size_t s = 0; s < sides.size(); ++s) {
        std::sort(sides[s].begin(), sides[s].end());
        for (const auto& [key, v] : sides[s])
            ordered[s].push_back(v);
    }
    return ordered;
}

}  // namespace quarn
