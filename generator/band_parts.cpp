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

// Corners of a patch's triangles joined into wedges: the corners at one vertex of triangles
// that share an edge through it. A vertex where the patch only touches itself (two wedges)
// gets a copy per wedge, so that no edge of the part is met by more than two triangles.
class Wedges {
  public:
    explicit Wedges(const std::vector<std::array<std::size_t, 3>>& patch)
        : m_root(3 * patch.size()) {
        for (std::size_t c = 0; c < m_root.size(); ++c)
            m_root[c] = c;
        std::unordered_map<std::uint64_t, std::size_t> firstOf;  // undirected edge: triangle
        for (std::size_t t = 0; t < patch.size(); ++t)
            for (std::size_t n = 0; n < 3; ++n) {
                const std::size_t u = patch[t][n], v = patch[t][(n + 1) % 3];
                const auto [at, added] =
                    firstOf.emplace(EdgeKey(std::min(u, v), std::max(u, v)), t);
                if (added)
                    continue;
                join(corner(patch, t, u), corner(patch, at->second, u));
                join(corner(patch, t, v), corner(patch, at->second, v));
            }
    }

    /// The wedge of triangle t's corner at vertex k.
    std::size_t of(const std::vector<std::array<std::size_t, 3>>& patch, std::size_t t,
                   std::size_t k) {
        return find(corner(patch, t, k));
    }

  private:
    static std::size_t corner(const std::vector<std::array<std::size_t, 3>>& patch, std::size_t t,
                              std::size_t k) {
        return 3 * t +
               std::size_t(std::find(patch[t].begin(), patch[t].end(), k) - patch[t].begin());
    }
    std::size_t find(std::size_t c) {
        while (m_root[c] != c)
            c = m_root[c] = m_root[m_root[c]];
        return c;
    }
    void join(std::size_t a, std::size_t b) { m_root[find(a)] = find(b); }

    std::vector<std::size_t> m_root;
};

// One band's column: the patch of surface triangles (grid vertex indices, upward).
BandPart PartOf(std::uint8_t band, const std::vector<std::array<std::size_t, 3>>& patch,
                const std::vector<Point>& top) {
    BandPart part;
    part.band = band;
    Wedges wedges(patch);
    std::unordered_map<std::size_t, std::size_t> topOf, groundOf;  // by wedge
    const auto topVertex = [&](std::size_t t, std::size_t k) {
        const auto [at, added] = topOf.emplace(wedges.of(patch, t, k), part.vertices.size());
        if (added)
            part.vertices.push_back(top[k]);
        return at->second;
    };
    const auto groundVertex = [&](std::size_t t, std::size_t k) {
        const auto [at, added] = groundOf.emplace(wedges.of(patch, t, k), part.vertices.size());
        if (added)
            part.vertices.push_back({top[k][0], top[k][1], 0.0f});
        return at->second;
    };
    std::unordered_set<std::uint64_t> edges;
    for (std::size_t t = 0; t < patch.size(); ++t) {
        const auto& [a, b, c] = patch[t];
        part.triangles.push_back({topVertex(t, a), topVertex(t, b), topVertex(t, c)});
        edges.insert({EdgeKey(a, b), EdgeKey(b, c), EdgeKey(c, a)});
    }
    part.surfaceTriangles = part.triangles.size();
    // An edge of the patch's outline runs counter-clockwise seen from above, the patch on its
    // left: the wall under it faces out as the whole solid's walls do.
    for (std::size_t t = 0; t < patch.size(); ++t)
        for (std::size_t n = 0; n < 3; ++n) {
            const std::size_t u = patch[t][n], v = patch[t][(n + 1) % 3];
            if (edges.contains(EdgeKey(v, u)))
                continue;
            part.triangles.push_back({groundVertex(t, u), groundVertex(t, v), topVertex(t, v)});
            part.triangles.push_back({groundVertex(t, u), topVertex(t, v), topVertex(t, u)});
        }
    for (std::size_t t = 0; t < patch.size(); ++t) {
        const auto& [a, b, c] = patch[t];
        part.triangles.push_back({groundVertex(t, a), groundVertex(t, c), groundVertex(t, b)});
    }
    return part;
}

}  // namespace

std::vector<BandPart> BandParts(const TerrainMesh& mesh, const ExportOptions& options,
                                std::span<const std::uint8_t> bands) {
    const std::vector<Point> top = SurfacePoints(mesh, options);
    const std::size_t lowest = LowestVertex(mesh);
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
