#include "grid_triangulation.h"

#include <algorithm>

namespace quarn {

namespace {

// Exact for the incircle determinant of points 2^30 apart.
__extension__ using Wide = __int128;

// Twice the signed area of (a, b, r): positive when r lies on the inner side of the edge a -> b
// of a triangle in the grid's winding.
std::int64_t Cross(GridPoint a, GridPoint b, GridPoint r) {
    return (std::int64_t(b.x) - a.x) * (std::int64_t(r.y) - a.y) -
           (std::int64_t(b.y) - a.y) * (std::int64_t(r.x) - a.x);
}

// Whether d lies strictly inside the circle through the triangle (a, b, c).
bool InCircle(GridPoint a, GridPoint b, GridPoint c, GridPoint d) {
    const std::int64_t adx = std::int64_t(a.x) - d.x, ady = std::int64_t(a.y) - d.y;
    const std::int64_t bdx = std::int64_t(b.x) - d.x, bdy = std::int64_t(b.y) - d.y;
    const std::int64_t cdx = std::int64_t(c.x) - d.x, cdy = std::int64_t(c.y) - d.y;
    const Wide aLift = Wide(adx * adx + ady * ady);
    const Wide bLift = Wide(bdx * bdx + bdy * bdy);
    const Wide cLift = Wide(cdx * cdx + cdy * cdy);
    const Wide det = aLift * Wide(bdx * cdy - cdx * bdy) + bLift * Wide(cdx * ady - adx * cdy) +
                     cLift * Wide(adx * bdy - bdx * ady);
    return det > 0;
}

int Next(int i) {
    return i == 2 ? 0 : i + 1;
}

}  // namespace

GridTriangulation::GridTriangulation(std::int32_t width, std::int32_t height) {
    m_points = {{0, 0}, {width - 1, 0}, {width - 1, height - 1}, {0, height - 1}};
    m_triangles = {{{0, 1, 2}, {-1, -1, 1}}, {{0, 2, 3}, {0, -1, -1}}};
}

int GridTriangulation::insertionGrowth(std::int32_t triangle, GridPoint p) const {
    const Triangle& t = m_triangles[std::size_t(triangle)];
    for (int i = 0; i < 3; ++i)
        if (t.neighbours[std::size_t(i)] < 0 &&
            Cross(point(t.corners[std::size_t(i)]), point(t.corners[std::size_t(Next(i))]), p) == 0)
            return 1;
    return 2;
}

const std::vector<std::int32_t>& GridTriangulation::insert(std::int32_t triangle, GridPoint p) {
    const auto vertex = static_cast<std::int32_t>(m_points.size());
    m_points.push_back(p);
    m_around.clear();
    const Triangle& t = m_triangles[std::size_t(triangle)];
    int onEdge = -1;
    for (int i = 0; i < 3; ++i)
        if (Cross(point(t.corners[std::size_t(i)]), point(t.corners[std::size_t(Next(i))]), p) == 0)
            onEdge = i;
    if (onEdge < 0)
        splitInside(triangle, vertex);
    else
        splitEdge(triangle, onEdge, vertex);
    restoreDelaunay();
    std::sort(m_around.begin(), m_around.end());
    m_around.erase(std::unique(m_around.begin(), m_around.end()), m_around.end());
    return m_around;
}

std::int32_t GridTriangulation::addTriangle() {
    m_triangles.emplace_back();
    return static_cast<std::int32_t>(m_triangles.size() - 1);
}

void GridTriangulation::setTriangle(std::int32_t t, std::array<std::int32_t, 3> corners,
                                    std::array<std::int32_t, 3> neighbours) {
    m_triangles[std::size_t(t)] = {corners, neighbours};
    m_toCheck.push_back(t);
    m_around.push_back(t);
}

void GridTriangulation::relink(std::int32_t neighbour, std::int32_t from, std::int32_t to) {
    if (neighbour < 0)
        return;
    for (std::int32_t& n : m_triangles[std::size_t(neighbour)].neighbours)
        if (n == from)
            n = to;
}

// The triangle (a, b, c) becomes (a, b, p), (b, c, p) and (c, a, p).
void GridTriangulation::splitInside(std::int32_t t, std::int32_t p) {
    const auto [a, b, c] = m_triangles[std::size_t(t)].corners;
    const auto [nab, nbc, nca] = m_triangles[std::size_t(t)].neighbours;
    const std::int32_t tbc = addTriangle(), tca = addTriangle();
    setTriangle(t, {a, b, p}, {nab, tbc, tca});
    setTriangle(tbc, {b, c, p}, {nbc, tca, t});
    setTriangle(tca, {c, a, p}, {nca, t, tbc});
    relink(nbc, t, tbc);
    relink(nca, t, tca);
}

// p lies on the edge a -> b of the triangle (a, b, c), which becomes (b, c, p) and (c, a, p);
// the triangle (b, a, d) across the edge, if any, becomes (a, d, p) and (d, b, p).
void GridTriangulation::splitEdge(std::int32_t t, int edge, std::int32_t p) {
    const Triangle old = m_triangles[std::size_t(t)];
    const auto corner = [&](int i) { return old.corners[std::size_t((edge + i) % 3)]; };
    const auto across = [&](int i) { return old.neighbours[std::size_t((edge + i) % 3)]; };
    const std::int32_t a = corner(0), b = corner(1), c = corner(2);
    const std::int32_t u = across(0), nbc = across(1), nca = across(2);
    const std::int32_t tca = addTriangle();
    if (u < 0) {
        setTriangle(t, {b, c, p}, {nbc, tca, -1});
        setTriangle(tca, {c, a, p}, {nca, -1, t});
        relink(nca, t, tca);
        return;
    }
    const Triangle other = m_triangles[std::size_t(u)];
    int j = 0;
    while (other.corners[std::size_t(j)] != b)
        ++j;
    const std::int32_t d = other.corners[std::size_t((j + 2) % 3)];
    const std::int32_t nad = other.neighbours[std::size_t((j + 1) % 3)];
    const std::int32_t ndb = other.neighbours[std::size_t((j + 2) % 3)];
    const std::int32_t tdb = addTriangle();
    setTriangle(t, {b, c, p}, {nbc, tca, tdb});
    setTriangle(tca, {c, a, p}, {nca, u, t});
    setTriangle(u, {a, d, p}, {nad, tdb, tca});
    setTriangle(tdb, {d, b, p}, {ndb, t, u});
    relink(nca, t, tca);
    relink(ndb, u, tdb);
}

// Lawson's flips around the new point: the triangle (x, y, p) and the one across x -> y,
// (y, x, d), become (x, d, p) and (d, y, p) while d lies inside the circle through x, y, p.
void GridTriangulation::restoreDelaunay() {
    while (!m_toCheck.empty()) {
        const std::int32_t t = m_toCheck.back();
        m_toCheck.pop_back();
        const Triangle here = m_triangles[std::size_t(t)];
        const std::int32_t u = here.neighbours[0];
        if (u < 0)
            continue;
        const auto [x, y, p] = here.corners;
        const Triangle other = m_triangles[std::size_t(u)];
        int j = 0;
        while (other.corners[std::size_t(j)] != y)
            ++j;
        const std::int32_t d = other.corners[std::size_t((j + 2) % 3)];
        if (!InCircle(point(x), point(y), point(p), point(d)))
            continue;
        const std::int32_t nxd = other.neighbours[std::size_t((j + 1) % 3)];
        const std::int32_t ndy = other.neighbours[std::size_t((j + 2) % 3)];
        setTriangle(t, {x, d, p}, {nxd, u, here.neighbours[2]});
        setTriangle(u, {d, y, p}, {ndy, here.neighbours[1], t});
        relink(nxd, u, t);
        relink(here.neighbours[1], t, u);
    }
}

}  // namespace quarn
