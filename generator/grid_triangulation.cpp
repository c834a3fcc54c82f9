#include "grid_triangulation.h"

#include <algorithm>

#include "grid_predicates.h"

namespace quarn {

namespace {

std::size_t Next(std::size_t i) {
    return i == 2 ? 0 : i + 1;
}

std::size_t Previous(std::size_t i) {
    return i == 0 ? 2 : i - 1;
}

}  // namespace

GridTriangulation::GridTriangulation(std::int32_t width, std::int32_t height) {
    m_points = {{0, 0}, {width - 1, 0}, {width - 1, height - 1}, {0, height - 1}};
    m_triangles = {{{0, 1, 2}, {-1, -1, 1}}, {{0, 2, 3}, {0, -1, -1}}};
    m_triangleOf = {0, 0, 0, 1};
}

std::int32_t GridTriangulation::locate(GridPoint p, std::int32_t from) const {
    std::int32_t t = from;
    for (;;) {
        const Triangle& here = m_triangles[std::size_t(t)];
        std::int32_t next = -1;
        for (std::size_t i = 0; i < 3 && next < 0; ++i)
            if (Cross(point(here.corners[i]), point(here.corners[Next(i)]), p) < 0)
                next = here.neighbours[i];
        if (next < 0)
            return t;
        t = next;
    }
}

int GridTriangulation::insertionGrowth(std::int32_t triangle, GridPoint p) const {
    const Triangle& t = m_triangles[std::size_t(triangle)];
    for (std::size_t i = 0; i < 3; ++i)
        if (t.neighbours[i] < 0 && Cross(point(t.corners[i]), point(t.corners[Next(i)]), p) == 0)
            return 1;
    return 2;
}

const std::vector<std::int32_t>& GridTriangulation::insert(std::int32_t triangle, GridPoint p) {
    const auto vertex = static_cast<std::int32_t>(m_points.size());
    m_points.push_back(p);
    m_triangleOf.push_back(-1);
    m_changed.clear();
    const Triangle& t = m_triangles[std::size_t(triangle)];
    int onEdge = -1;
    for (std::size_t i = 0; i < 3; ++i)
        if (Cross(point(t.corners[i]), point(t.corners[Next(i)]), p) == 0)
            onEdge = int(i);
    if (onEdge < 0)
        splitInside(triangle, vertex);
    else
        splitEdge(triangle, onEdge, vertex);
    restoreAroundNewPoint();
    listChanged();
    return m_changed;
}

std::int32_t GridTriangulation::addTriangle() {
    if (!m_freeTriangles.empty()) {
        const std::int32_t t = m_freeTriangles.back();
        m_freeTriangles.pop_back();
        return t;
    }
    m_triangles.emplace_back();
    return static_cast<std::int32_t>(m_triangles.size() - 1);
}

void GridTriangulation::setTriangle(std::int32_t t, std::array<std::int32_t, 3> corners,
                                    std::array<std::int32_t, 3> neighbours) {
    saveForUndo(t);
    m_triangles[std::size_t(t)] = {corners, neighbours};
    for (const std::int32_t v : corners) {
        if (m_saving)
            m_savedTriangleOf.emplace_back(v, m_triangleOf[std::size_t(v)]);
        m_triangleOf[std::size_t(v)] = t;
    }
    m_toCheck.push_back(t);
    m_changed.push_back(t);
}

void GridTriangulation::relink(std::int32_t neighbour, std::int32_t from, std::int32_t to) {
    if (neighbour < 0)
        return;
    saveForUndo(neighbour);
    for (std::int32_t& n : m_triangles[std::size_t(neighbour)].neighbours)
        if (n == from)
            n = to;
}

void GridTriangulation::saveForUndo(std::int32_t t) {
    if (m_saving)
        m_savedTriangles.push_back({t, m_triangles[std::size_t(t)]});
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
    std::size_t j = 0;
    while (other.corners[j] != b)
        ++j;
    const std::int32_t d = other.corners[Previous(j)];
    const std::int32_t nad = other.neighbours[Next(j)], ndb = other.neighbours[Previous(j)];
    const std::int32_t tdb = addTriangle();
    setTriangle(t, {b, c, p}, {nbc, tca, tdb});
    setTriangle(tca, {c, a, p}, {nca, u, t});
    setTriangle(u, {a, d, p}, {nad, tdb, tca});
    setTriangle(tdb, {d, b, p}, {ndb, t, u});
    relink(nca, t, tca);
    relink(ndb, u, tdb);
}

bool GridTriangulation::violatesDelaunay(std::int32_t t, int edge) const {
    const Triangle& here = m_triangles[std::size_t(t)];
    const std::int32_t u = here.neighbours[std::size_t(edge)];
    if (u < 0)
        return false;
    const Triangle& other = m_triangles[std::size_t(u)];
    std::size_t j = 0;
    while (other.corners[j] != here.corners[Next(std::size_t(edge))])
        ++j;
    return InCircleDeterminant(point(here.corners[0]), point(here.corners[1]),
                               point(here.corners[2]), point(other.corners[Previous(j)])) > 0;
}

// The triangle (p, q, r) with the edge p -> q and the one across it, (q, p, s), become
// (p, s, r) and (s, q, r); the caller sees that the four make a convex quadrilateral.
void GridTriangulation::flip(std::int32_t t, int edge) {
    const Triangle here = m_triangles[std::size_t(t)];
    const auto i = std::size_t(edge);
    const std::int32_t u = here.neighbours[i];
    const Triangle other = m_triangles[std::size_t(u)];
    std::size_t j = 0;
    while (other.corners[j] != here.corners[Next(i)])
        ++j;
    const std::int32_t p = here.corners[i], q = here.corners[Next(i)];
    const std::int32_t r = here.corners[Previous(i)], s = other.corners[Previous(j)];
    const std::int32_t nps = other.neighbours[Next(j)], nsq = other.neighbours[Previous(j)];
    const std::int32_t nqr = here.neighbours[Next(i)], nrp = here.neighbours[Previous(i)];
    setTriangle(t, {p, s, r}, {nps, u, nrp});
    setTriangle(u, {s, q, r}, {nsq, nqr, t});
    relink(nps, u, t);
    relink(nqr, t, u);
}

// Lawson's flips around a new point, which every triangle to check has as corner 2: only the
// edge 0 opposite it can have become illegal, and a flip keeps the point at corner 2.
void GridTriangulation::restoreAroundNewPoint() {
    while (!m_toCheck.empty()) {
        const std::int32_t t = m_toCheck.back();
        m_toCheck.pop_back();
        if (violatesDelaunay(t, 0))
            flip(t, 0);
    }
}

// Lawson's flips over every edge of the triangles to check, and of those flipped. A point
// strictly inside the circle lies across a convex quadrilateral's diagonal.
void GridTriangulation::restoreAnywhere() {
    while (!m_toCheck.empty()) {
        const std::int32_t t = m_toCheck.back();
        m_toCheck.pop_back();
        if (!isTriangle(t))
            continue;
        for (int edge = 0; edge < 3; ++edge)
            if (violatesDelaunay(t, edge)) {
                flip(t, edge);
                break;
            }
    }
}

void GridTriangulation::listChanged() {
    std::sort(m_changed.begin(), m_changed.end());
    m_changed.erase(std::unique(m_changed.begin(), m_changed.end()), m_changed.end());
    std::erase_if(m_changed, [&](std::int32_t t) { return !isTriangle(t); });
}

}  // namespace quarn
