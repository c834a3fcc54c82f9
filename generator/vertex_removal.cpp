// Taking a vertex out of the grid triangulation. The hole it leaves is filled by clipping
// ears off the polygon of its neighbours, always the ear whose circle the vertex lies least
// deep inside: that ear is a triangle of the hole's Delaunay triangulation. An ear qualifies
// when its middle corner is convex and the vertex lies on the hole's side of its new edge (or
// on it), so the hole stays star-shaped around the vertex and no neighbour falls inside an ear.

#include <algorithm>
#include <limits>

#include "grid_predicates.h"
#include "grid_triangulation.h"

namespace quarn {

namespace {

// The vertices set by the constructor: the rectangle's corners.
constexpr std::int32_t kCorners = 4;

constexpr double kNoEar = std::numeric_limits<double>::infinity();

}  // namespace

const std::vector<std::array<std::int32_t, 3>>& GridTriangulation::planRemoval(
    std::int32_t vertex) {
    m_hole.filling.clear();
    if (vertex < kCorners || !isVertex(vertex))
        return m_hole.filling;
    gatherHole(vertex);
    if (!clipEars())
        m_hole.filling.clear();
    return m_hole.filling;
}

// Walks round the vertex: back across each triangle's edge from the vertex, to the outline
// should the vertex lie on it, then forward across each one's edge to the vertex, gathering
// the ring.
void GridTriangulation::gatherHole(std::int32_t vertex) {
    const auto at = [&](std::int32_t t) {
        std::size_t i = 0;
        while (corners(t)[i] != vertex)
            ++i;
        return i;
    };
    std::int32_t start = m_triangleOf[std::size_t(vertex)];
    for (std::int32_t t = start;;) {
        const std::int32_t previous = m_triangles[std::size_t(t)].neighbours[at(t)];
        if (previous < 0) {
            start = t;
            break;
        }
        t = previous;
        if (t == start)
            break;
    }
    Hole& hole = m_hole;
    hole.vertex = vertex;
    hole.ring.clear();
    hole.star.clear();
    hole.outside.clear();
    std::int32_t t = start;
    do {
        const Triangle& here = m_triangles[std::size_t(t)];
        const std::size_t i = at(t);
        hole.ring.push_back(here.corners[(i + 1) % 3]);
        hole.star.push_back(t);
        hole.outside.push_back(here.neighbours[(i + 1) % 3]);
        t = here.neighbours[(i + 2) % 3];
        if (t < 0)
            hole.ring.push_back(here.corners[(i + 2) % 3]);
    } while (t >= 0 && t != start);
    hole.onOutline = t < 0;
}

bool GridTriangulation::clipEars() {
    Hole& hole = m_hole;
    const GridPoint v = point(hole.vertex);
    std::vector<std::int32_t>& left = hole.left;
    std::vector<double>& depth = hole.depth;
    left = hole.ring;
    // How deep inside the ear's circle the vertex lies, in units that order the ears; infinite
    // for an ear that does not qualify or one of the ring's ends on the outline.
    const auto depthAt = [&](std::size_t j) {
        const std::size_t n = left.size();
        if (hole.onOutline && (j == 0 || j == n - 1))
            return kNoEar;
        const GridPoint a = point(left[(j + n - 1) % n]), b = point(left[j]);
        const GridPoint e = point(left[(j + 1) % n]);
        const std::int64_t area2 = Cross(a, b, e);
        if (area2 <= 0 || Cross(e, v, a) < 0)
            return kNoEar;
        return double(InCircleDeterminant(a, b, e, v)) / double(area2);
    };
    depth.resize(left.size());
    for (std::size_t j = 0; j < left.size(); ++j)
        depth[j] = depthAt(j);
    while (left.size() > 3) {
        const std::size_t n = left.size();
        const auto best = std::size_t(std::min_element(depth.begin(), depth.end()) - depth.begin());
        if (depth[best] == kNoEar)
            return false;
        hole.filling.push_back({left[(best + n - 1) % n], left[best], left[(best + 1) % n]});
        left.erase(left.begin() + std::ptrdiff_t(best));
        depth.erase(depth.begin() + std::ptrdiff_t(best));
        // Only the ears of the clipped corner's two neighbours changed.
        const std::size_t before = (best + n - 2) % (n - 1), after = best % (n - 1);
        depth[before] = depthAt(before);
        depth[after] = depthAt(after);
    }
    hole.filling.push_back({left[0], left[1], left[2]});
    return true;
}

void GridTriangulation::removePlanned() {
    Hole& hole = m_hole;
    m_changed.clear();
    m_toCheck.clear();
    m_savedTriangles.clear();
    m_savedTriangleOf.clear();
    m_savedFreeCount = m_freeTriangles.size();
    m_saving = true;
    const std::size_t made = hole.filling.size();
    for (std::size_t k = made; k < hole.star.size(); ++k) {
        const std::int32_t gone = hole.star[k];
        saveForUndo(gone);
        m_triangles[std::size_t(gone)].corners[0] = -1;
        m_freeTriangles.push_back(gone);
    }
    const std::size_t ringSize = hole.ring.size();
    for (std::size_t i = 0; i < made; ++i) {
        const std::array<std::int32_t, 3>& c = hole.filling[i];
        std::array<std::int32_t, 3> across{-1, -1, -1};
        for (std::size_t e = 0; e < 3; ++e) {
            const std::int32_t from = c[e], to = c[(e + 1) % 3];
            const auto k = std::size_t(std::find(hole.ring.begin(), hole.ring.end(), from) -
                                       hole.ring.begin());
            if (hole.ring[(k + 1) % ringSize] == to) {
                // The ring's closing edge on the outline has nothing across it.
                if (!(hole.onOutline && k + 1 == ringSize)) {
                    across[e] = hole.outside[k];
                    linkAcross(across[e], to, from, hole.star[i]);
                }
                continue;
            }
            for (std::size_t j = 0; j < made; ++j)
                for (std::size_t f = 0; f < 3; ++f)
                    if (hole.filling[j][f] == to && hole.filling[j][(f + 1) % 3] == from)
                        across[e] = hole.star[j];
        }
        setTriangle(hole.star[i], c, across);
    }
    m_savedTriangleOf.emplace_back(hole.vertex, m_triangleOf[std::size_t(hole.vertex)]);
    m_triangleOf[std::size_t(hole.vertex)] = -1;
    restoreAnywhere();
    m_saving = false;
    listChanged();
}

void GridTriangulation::linkAcross(std::int32_t t, std::int32_t from, std::int32_t to,
                                   std::int32_t neighbour) {
    if (t < 0)
        return;
    saveForUndo(t);
    Triangle& here = m_triangles[std::size_t(t)];
    for (std::size_t i = 0; i < 3; ++i)
        if (here.corners[i] == from && here.corners[(i + 1) % 3] == to)
            here.neighbours[i] = neighbour;
}

void GridTriangulation::undoRemoval() {
    for (auto saved = m_savedTriangles.rbegin(); saved != m_savedTriangles.rend(); ++saved)
        m_triangles[std::size_t(saved->id)] = saved->triangle;
    for (auto saved = m_savedTriangleOf.rbegin(); saved != m_savedTriangleOf.rend(); ++saved)
        m_triangleOf[std::size_t(saved->first)] = saved->second;
    m_freeTriangles.resize(m_savedFreeCount);
    m_savedTriangles.clear();
    m_savedTriangleOf.clear();
    m_changed.clear();
}

}  // namespace quarn
