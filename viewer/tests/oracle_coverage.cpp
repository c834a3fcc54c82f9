#include "oracle_coverage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quarn::testing {
namespace {

__extension__ typedef __int128 Wide;

// Twice the signed area of p q r: positive when r lies to the left of p->q as the picture
// shows it (rows grow downward).
Wide Cross(const Wide p[2], const Wide q[2], const Wide r[2]) {
    return (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0]);
}

// The pixel's centre lies inside the triangle, or on a top edge (level, the triangle below
// it) or a left edge (the triangle to its right).
bool Fills(const Shape& s, std::int32_t x, std::int32_t y) {
    // Doubled coordinates put corners on even numbers and pixel centres on odd ones.
    Wide v[3][2];
    for (int k = 0; k < 3; ++k)
        v[k][0] = Wide(2) * s.corner[k].x, v[k][1] = Wide(2) * s.corner[k].y;
    const Wide centre[2] = {Wide(2) * x + 1, Wide(2) * y + 1};
    const Wide area = Cross(v[0], v[1], v[2]);
    if (area == 0)
        return false;
    for (int k = 0; k < 3; ++k) {
        const Wide *p = v[k], *q = v[(k + 1) % 3], *r = v[(k + 2) % 3];
        const Wide side = Cross(p, q, centre), dx = q[0] - p[0], dy = q[1] - p[1];
        const bool topOrLeft =
            dy == 0 ? r[1] > p[1] : ((r[0] - p[0]) * dy - (r[1] - p[1]) * dx > 0) == (dy > 0);
        if (side == 0 ? !topOrLeft : (side > 0) != (area > 0))
            return false;
    }
    return true;
}

// The plane of depth over the pixel corners, depth = d0 + a (x - x0) + b (y - y0); flat
// (a = b = 0) for a triangle without an area.
struct Plane {
    double a = 0, b = 0;
};

Plane PlaneOf(const Shape& s) {
    const Point p0 = s.corner[0], p1 = s.corner[1], p2 = s.corner[2];
    const double x1 = double(p1.x) - p0.x, y1 = double(p1.y) - p0.y;
    const double x2 = double(p2.x) - p0.x, y2 = double(p2.y) - p0.y;
    const double d1 = s.depth[1] - s.depth[0], d2 = s.depth[2] - s.depth[0];
    const double area = x1 * y2 - x2 * y1;
    if (area == 0)
        return {};
    return {(d1 * y2 - d2 * y1) / area, (d2 * x1 - d1 * x2) / area};
}

// The depth of the pen's line from corner i to corner j at the pixel, when the line has it:
// evenly from one end to the other along the longer axis.
std::optional<double> LineDepth(const Shape& s, int i, int j, std::int32_t x, std::int32_t y) {
    const Point p = s.corner[i], q = s.corner[j];
    const bool alongX = std::llabs(std::int64_t(q.x) - p.x) >= std::llabs(std::int64_t(q.y) - p.y);
    // The end with the smaller major coordinate first: the line is the same from either end.
    Wide m0 = alongX ? p.x : p.y, n0 = alongX ? p.y : p.x, m1 = alongX ? q.x : q.y;
    Wide n1 = alongX ? q.y : q.x;
    double d0 = s.depth[i], d1 = s.depth[j];
    if (m1 < m0)
        std::swap(m0, m1), std::swap(n0, n1), std::swap(d0, d1);
    const Wide m = alongX ? x : y, n = alongX ? y : x, dm = m1 - m0;
    if (m < m0 || m > m1)
        return std::nullopt;
    if (dm == 0)
        return n == n0 ? std::optional<double>(std::max(d0, d1)) : std::nullopt;
    // The nearest to n0 + (n1 - n0) (m - m0) / dm, halves up: floor of (2 (n1 - n0) (m - m0)
    // + dm) / (2 dm).
    const Wide numerator = 2 * (n1 - n0) * (m - m0) + dm;
    const Wide minor = numerator / (2 * dm) - (numerator % (2 * dm) < 0 ? 1 : 0);
    if (n != n0 + minor)
        return std::nullopt;
    return d0 + (d1 - d0) * double(m - m0) / double(dm);
}

}  // namespace

// The nearest of the outline's depths at the pixel, when the outline has it.
std::optional<double> OutlineDepth(const Shape& s, std::int32_t x, std::int32_t y) {
    std::optional<double> depth;
    for (int k = 0; k < 3; ++k)
        if (const auto d = LineDepth(s, k, (k + 1) % 3, x, y))
            depth = std::max(depth.value_or(*d), *d);
    return depth;
}

// The nearer of the fill's depth (the plane at the pixel's centre) and the outline's at a
// pixel the triangle covers.
std::optional<double> DepthAt(const Shape& s, std::int32_t x, std::int32_t y) {
    std::optional<double> depth = OutlineDepth(s, x, y);
    if (Fills(s, x, y)) {
        const Plane plane = PlaneOf(s);
        const double d =
            s.depth[0] + plane.a * (x + 0.5 - s.corner[0].x) + plane.b * (y + 0.5 - s.corner[0].y);
        depth = std::max(depth.value_or(d), d);
    }
    return depth;
}

Changes ChangesOf(const Shape& s) {
    const Plane plane = PlaneOf(s);
    Changes changes{std::max(std::fabs(plane.a), std::fabs(plane.b)),
                    std::fabs(plane.a) + std::fabs(plane.b)};
    for (int k = 0; k < 3; ++k) {
        const Point p = s.corner[k], q = s.corner[(k + 1) % 3];
        const double steps =
            std::max({1.0, std::fabs(double(q.x) - p.x), std::fabs(double(q.y) - p.y)});
        changes.edge = std::max(changes.edge, std::fabs(s.depth[(k + 1) % 3] - s.depth[k]) / steps);
    }
    return changes;
}

}  // namespace quarn::testing
