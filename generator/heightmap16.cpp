#include "heightmap16.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "checked_float.h"

namespace quarn {

Heightmap16 MakeHeightmap16(const TerrainMesh& mesh, float mapExtent) {
    Heightmap16 map{mesh.cols, mesh.rows, {}, {}};
    if (mesh.vertices.empty())
        return map;
    const auto [lowest, highest] = std::minmax_element(
        mesh.vertices.begin(), mesh.vertices.end(),
        [](const SampledVertex& a, const SampledVertex& b) { return a.h < b.h; });
    const double low = lowest->h;
    const double span = static_cast<double>(highest->h) - low;
    // A flat terrain has no span to divide: every sample is 0.
    const double scale = span > 0 ? 65535.0 / span : 0.0;
    map.samples.reserve(mesh.vertices.size());
    for (const SampledVertex& v : mesh.vertices)
        map.samples.push_back(static_cast<std::uint16_t>(std::nearbyint((v.h - low) * scale)));
    map.range = {CheckedToFloat(low * mapExtent), CheckedToFloat(highest->h * double{mapExtent})};
    return map;
}

std::string HeightRangeText(const HeightRange& range) {
    // Seven digits: a float's own precision, without its rounding noise (-40.000004).
    char text[64];
    std::snprintf(text, sizeof text, "%.7g..%.7g map units", double{range.low}, double{range.high});
    return text;
}

std::string HeightmapSummary(std::int32_t cols, std::int32_t rows, const HeightRange& range) {
    return std::to_string(cols) + " x " + std::to_string(rows) + " samples, heights " +
           HeightRangeText(range) + " at 0 and 65535";
}

}  // namespace quarn
