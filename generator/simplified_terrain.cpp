#include "simplified_terrain.h"

#include <vector>

#include "adaptive_mesh.h"

namespace quarn {

SimplifiedTerrain SimplifyTerrain(const TerrainMesh& full, std::optional<double> maxError,
                                  std::size_t maxTriangles, float mapExtent) {
    std::vector<float> heights;
    heights.reserve(full.vertices.size());
    for (const SampledVertex& v : full.vertices)
        heights.push_back(v.h);
    // Without a bound, the budget alone decides: insertion goes on towards an exact mesh.
    const double bound = maxError ? *maxError / mapExtent : 0.0;
    const AdaptiveMesh adaptive =
        SimplifyGrid({full.cols, full.rows, heights}, bound, maxTriangles);
    TerrainMesh mesh{full.cols, full.rows, full.levels, {}, {}, adaptive.samples};
    mesh.vertices.reserve(adaptive.samples.size());
    for (const std::int32_t k : adaptive.samples)
        mesh.vertices.push_back(full.vertices[static_cast<std::size_t>(k)]);
    const NormalisedLevels& l = full.levels;
    mesh.triangles.reserve(adaptive.triangles.size());
    for (const auto& [a, b, c] : adaptive.triangles) {
        const auto h = [&](std::int32_t index) {
            return mesh.vertices[static_cast<std::size_t>(index)].h;
        };
        mesh.triangles.push_back(
            {a, b, c, Triangle_Color(MeanHeight(h(a), h(b), h(c)), l.water, l.lawn, l.snow)});
    }
    return {std::move(mesh), adaptive.largestError * mapExtent};
}

}  // namespace quarn
