#include "band_parts.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "map_raster.h"
#include "mesh_export.h"

namespace quarn {

namespace {

std::uint64_t EdgeKey(std::size_t from, std::size_t to) {
    return std::uint64_t(from) << 32 | std::uint64_t(to);
}

// One band's column: the patch of surface triangles (grid vertex indices, upward).
BandPart PartOf(std::uint8_t band, const std::vector<std::array<std::size_t, 3>>& patch,
                const std::vector<Point>& top) {
    BandPart part;
    part.band = band;
    std::unordered_map<std::size_t, std::size_t> topOf, groundOf;
    const auto topVertex = [&](std::size_t k) {
        const auto [at, added] = topOf.emplace(k, part.vertices.size());
        if (added)
            part.vertices.push_back(top[k]);
        return at->second;
    };
    const auto groundVertex = [&](std::size_t k) {
        const auto [at, added] = groundOf.emplace(k, part.vertices.size());
        if (added)
            part.vertices.push_back({top[k][0], top[k][1], 0.0f});
        return at->second;
    };
    std::unordered_set<std::uint64_t> edges;
    for (const auto& [a, b, c] : patch) {
        part.triangles.push_back({topVertex(a), topVertex(b), topVertex(c)});
        edges.insert({EdgeKey(a, b), EdgeKey(b, c), EdgeKey(c, a)});
    }
    part.surfaceTriangles = part.triangles.size();
    // An edge of the patch's outline runs counter-clockwise seen from above, the patch on its
    // left: the wall under it faces out as the whole solid's walls do.
    for (const auto& t : patch)
        for (int n = 0; n < 3; ++n) {
            const std::size_t u = t[std::size_t(n)], v = t[std::size_t((n + 1) % 3)];
            if (edges.contains(EdgeKey(v, u)))
                continue;
            part.triangles.push_back({groundVertex(u), groundVertex(v), topVertex(v)});
            part.triangles.push_back({groundVertex(u), topVertex(v), topVertex(u)});
        }
    for (const auto& [a, b, c] : patch)
        part.triangles.push_back({groundVertex(a), groundVertex(c), groundVertex(b)});
    return part;
}

}  // namespace

std::vector<BandPart> BandParts(const TerrainMesh& mesh, const ExportOptions& options,
                                std::span<const std::uint8_t> bands) {
    const std::vector<Point> top = SurfacePoints(mesh, options);
    const std::size_t lowest =
        std::size_t(std::min_element(mesh.vertices.begin(), mesh.vertices.end(),
                                     [](const auto& p, const auto& q) { return p.h < q.h; }) -
                    mesh.vertices.begin());
    const auto bandOf = [&](std::int32_t k) {
        const std::uint8_t band = bands[std::size_t(k)];
        return band < kNoClass ? band : bands[lowest];
    };
    // The patches by band, and each band's height for the order of the parts.
    std::map<std::uint8_t, std::vector<std::array<std::size_t, 3>>> patches;
    std::map<std::uint8_t, float> lowestOf;
    ForEachTriangle(mesh, [&](const Triangle& t) {
        const auto [a, b, c] = UpwardCorners(t);
        const std::uint8_t ba = bandOf(a), bb = bandOf(b), bc = bandOf(c);
        const std::uint8_t band = ba == bb || ba == bc ? ba : bb == bc ? bb : bandOf(t.a);
        patches[band].push_back({std::size_t(a), std::size_t(b), std::size_t(c)});
        const float h = std::min({mesh.vertices[std::size_t(a)].h, mesh.vertices[std::size_t(b)].h,
                                  mesh.vertices[std::size_t(c)].h});
        const auto [at, added] = lowestOf.emplace(band, h);
        if (!added)
            at->second = std::min(at->second, h);
    });
    std::vector<std::uint8_t> order;
    for (const auto& [band, patch] : patches)
        order.push_back(band);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint8_t p, std::uint8_t q) { return lowestOf[p] < lowestOf[q]; });
    std::vector<BandPart> parts;
    for (const std::uint8_t band : order)
        parts.push_back(PartOf(band, patches[band], top));
    return parts;
}

}  // namespace quarn
