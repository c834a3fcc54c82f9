// The pixels the viewer's rasterizer sets, for drawing with any per-pixel action.
//
// Triangle fill: a pixel is filled when its centre lies inside the triangle; a centre exactly
// on an edge counts for edges on the top or the left of the triangle only. Lines: one pixel
// per step along the longer axis, both end points included, the other coordinate rounded to
// the nearest pixel (halves toward the larger value), the same pixels drawn either way.
// Coordinates may lie anywhere in the 32-bit range; plot(x, y) is called only for pixels in
// columns 0..width-1 and rows firstRow..endRow-1.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "canvas.h"

namespace quarn {

namespace raster_detail {

__extension__ typedef __int128 Wide;

// Coordinates this small keep every edge-function product of doubled coordinates in 64 bits.
inline constexpr std::int64_t kNarrowLimit = std::int64_t{1} << 28;

inline bool Narrow(Point p) {
    return std::llabs(p.x) < kNarrowLimit && std::llabs(p.y) < kNarrowLimit;
}

// floor(n / d) for d > 0.
inline Wide FloorDiv(Wide n, Wide d) {
    Wide q = n / d;
    if (n % d != 0 && n < 0)
        --q;
    return q;
}

template <typename Int>
struct Edge {
    Int stepX, stepY, value;  // value at the current pixel centre
    bool topLeft;

    Edge(Point a, Point b, std::int32_t px, std::int32_t py) {
        const Int dx = Int(b.x) - a.x, dy = Int(b.y) - a.y;
        // Doubled coordinates put pixel centres on integers.
        value = dx * (Int(2) * py + 1 - Int(2) * a.y) - dy * (Int(2) * px + 1 - Int(2) * a.x);
        stepX = -2 * dy;
        stepY = 2 * dx;
        topLeft = dy < 0 || (dy == 0 && dx > 0);
    }
    bool covers(Int v) const { return topLeft ? v >= 0 : v > 0; }
};

template <typename Int, typename Plot>
void FillClipped(Point a, Point b, Point c, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                 std::int32_t y1, Plot& plot) {
    const Edge<Int> e0(b, c, x0, y0), e1(c, a, x0, y0), e2(a, b, x0, y0);
    Int r0 = e0.value, r1 = e1.value, r2 = e2.value;
    for (std::int32_t y = y0; y <= y1; ++y) {
        Int v0 = r0, v1 = r1, v2 = r2;
        for (std::int32_t x = x0; x <= x1; ++x) {
            if (e0.covers(v0) && e1.covers(v1) && e2.covers(v2))
                plot(x, y);
            v0 += e0.stepX;
            v1 += e1.stepX;
            v2 += e2.stepX;
        }
        r0 += e0.stepY;
        r1 += e1.stepY;
        r2 += e2.stepY;
    }
}

// Pixels of a line along its major axis: for major m from m0 to m1 (m0 <= m1), the minor
// coordinate is the nearest to the exact line, halves up. plot(m, minor) sets the pixel.
template <typename Plot>
void WalkMajorAxis(std::int64_t m0, std::int64_t n0, std::int64_t m1, std::int64_t n1,
                   std::int64_t clipLow, std::int64_t clipHigh, Plot plot) {
    const std::int64_t dm = m1 - m0, dn = n1 - n0;
    const std::int64_t first = std::max(m0, clipLow), last = std::min(m1, clipHigh);
    if (first > last)
        return;
    if (dm == 0) {
        plot(first, n0);
        return;
    }
    // minor = n0 + floor((2 (m - m0) dn + dm) / (2 dm)), kept as quotient and remainder; the
    // numerator needs more than 64 bits only for lines far longer than a picture.
    const Wide twiceDm = Wide(2) * dm;
    Wide quotient;
    std::int64_t remainder;
    if (std::llabs(first - m0) < kNarrowLimit && std::llabs(dn) < 2 * kNarrowLimit) {
        const std::int64_t numerator = 2 * (first - m0) * dn + dm, twice = 2 * dm;
        std::int64_t q = numerator / twice, r = numerator % twice;
        if (r < 0)
            --q, r += twice;
        quotient = q;
        remainder = r;
    } else {
        const Wide numerator = Wide(2) * (first - m0) * dn + dm;
        quotient = FloorDiv(numerator, twiceDm);
        remainder = static_cast<std::int64_t>(numerator - quotient * twiceDm);
    }
    std::int64_t minor = n0 + static_cast<std::int64_t>(quotient);
    const auto step = static_cast<std::int64_t>(2 * dn), wrap = static_cast<std::int64_t>(twiceDm);
    for (std::int64_t m = first; m <= last; ++m) {
        plot(m, minor);
        remainder += step;
        if (remainder >= wrap) {
            remainder -= wrap;
            ++minor;
        } else if (remainder < 0) {
            remainder += wrap;
            --minor;
        }
    }
}

}  // namespace raster_detail

/// Calls plot(x, y) for each pixel of the filled triangle a b c in the clip.
template <typename Plot>
void WalkTriangle(Point a, Point b, Point c, std::int32_t width, std::int32_t firstRow,
                  std::int32_t endRow, Plot plot) {
    using namespace raster_detail;
    const bool narrow = Narrow(a) && Narrow(b) && Narrow(c);
    const Wide area =
        narrow ? Wide((std::int64_t(b.x) - a.x) * (std::int64_t(c.y) - a.y) -
                      (std::int64_t(b.y) - a.y) * (std::int64_t(c.x) - a.x))
               : (Wide(b.x) - a.x) * (Wide(c.y) - a.y) - (Wide(b.y) - a.y) * (Wide(c.x) - a.x);
    if (area == 0)
        return;
    if (area < 0)
        std::swap(b, c);  // every edge then has the inside on its positive side
    // Centres x + 0.5 within [min, max) of the corners, clipped.
    const std::int32_t x0 = std::max(std::min({a.x, b.x, c.x}), 0);
    const std::int32_t x1 = std::min(std::max({a.x, b.x, c.x}) - 1, width - 1);
    const std::int32_t y0 = std::max(std::min({a.y, b.y, c.y}), firstRow);
    const std::int32_t y1 = std::min(std::max({a.y, b.y, c.y}) - 1, endRow - 1);
    if (x0 > x1 || y0 > y1)
        return;
    if (narrow)
        FillClipped<std::int64_t>(a, b, c, x0, y0, x1, y1, plot);
    else
        FillClipped<Wide>(a, b, c, x0, y0, x1, y1, plot);
}

/// Calls plot(x, y) for each pixel of the line from a to b in the clip.
template <typename Plot>
void WalkLine(Point a, Point b, std::int32_t width, std::int32_t firstRow, std::int32_t endRow,
              Plot plot) {
    using namespace raster_detail;
    const std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
    if (std::llabs(dx) >= std::llabs(dy)) {
        if (dx < 0)
            std::swap(a, b);
        WalkMajorAxis(a.x, a.y, b.x, b.y, 0, width - 1, [&](std::int64_t x, std::int64_t y) {
            if (y >= firstRow && y < endRow)
                plot(std::int32_t(x), std::int32_t(y));
        });
    } else {
        if (dy < 0)
            std::swap(a, b);
        WalkMajorAxis(a.y, a.x, b.y, b.x, firstRow, endRow - 1,
                      [&](std::int64_t y, std::int64_t x) {
                          if (x >= 0 && x < width)
                              plot(std::int32_t(x), std::int32_t(y));
                      });
    }
}

/// A line whose ends are at most 2 pixels apart on either axis, as WalkLine draws it: its ends, and
/// for a step of 2 along the major axis the middle, its minor coordinate
// n0 + floor((dn + 1) / 2). False for longer lines.
template <typename Plot>
bool WalkShortLine(Point a, Point b, Plot plot) {
    const std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
    const std::int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    if (ax > 2 || ay > 2)
        return false;
    plot(a);
    plot(b);
    if (ax >= ay && ax == 2) {
        const Point from = dx < 0 ? b : a;
        const std::int32_t dn = dx < 0 ? -std::int32_t(dy) : std::int32_t(dy);
        plot(Point{from.x + 1, from.y + ((dn + 3) / 2 - 1)});
    } else if (ay > ax && ay == 2) {
        const Point from = dy < 0 ? b : a;
        const std::int32_t dn = dy < 0 ? -std::int32_t(dx) : std::int32_t(dx);
        plot(Point{from.x + ((dn + 3) / 2 - 1), from.y + 1});
    }
    return true;
}

/// WalkTriangle, quicker for a triangle in a box of at most kSmallBox pixels a side with
/// corners well inside the 32-bit range: the same centres, edges and top-left rule, tested
/// one by one. False (nothing drawn) for other triangles.
inline constexpr std::int32_t kSmallBox = 3, kSmallCoordinate = 1 << 28;

template <typename Plot>
bool WalkSmallTriangle(Point a, Point b, Point c, std::int32_t width, std::int32_t top,
                       std::int32_t bottom, Plot plot) {
    const std::int32_t minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
    const std::int32_t minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
    // The range first: it keeps the differences within 32 bits.
    if (minX <= -kSmallCoordinate || maxX >= kSmallCoordinate || minY <= -kSmallCoordinate ||
        maxY >= kSmallCoordinate || maxX - minX > kSmallBox || maxY - minY > kSmallBox)
        return false;
    const std::int64_t area = (std::int64_t(b.x) - a.x) * (std::int64_t(c.y) - a.y) -
                              (std::int64_t(b.y) - a.y) * (std::int64_t(c.x) - a.x);
    if (area == 0)
        return true;
    if (area < 0)
        std::swap(b, c);
    struct Edge {
        Point from;
        std::int64_t dx, dy;
        bool topLeft;
    };
    const auto edge = [](Point p, Point q) {
        const std::int64_t dx = std::int64_t(q.x) - p.x, dy = std::int64_t(q.y) - p.y;
        return Edge{p, dx, dy, dy < 0 || (dy == 0 && dx > 0)};
    };
    const Edge edges[3] = {edge(b, c), edge(c, a), edge(a, b)};
    for (std::int32_t y = std::max(minY, top); y <= std::min(maxY - 1, bottom - 1); ++y) {
        for (std::int32_t x = std::max(minX, 0); x <= std::min(maxX - 1, width - 1); ++x) {
            bool inside = true;
            for (const Edge& e : edges) {
                const std::int64_t v =
                    e.dx * (2 * std::int64_t(y) + 1 - 2 * std::int64_t(e.from.y)) -
                    e.dy * (2 * std::int64_t(x) + 1 - 2 * std::int64_t(e.from.x));
                inside = inside && (e.topLeft ? v >= 0 : v > 0);
            }
            if (inside)
                plot(Point{x, y});
        }
    }
    return true;
}

}  // namespace quarn
