#include "oracle_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "checked_float.h"
#include "platform_error.h"
#include "shading.h"
#include "window_mapping.h"

namespace quarn::testing {
namespace {

__extension__ typedef __int128 Wide;
using Depth = double;

// A triangle as the drawing sees it: pixel corners, their depths y', its colour.
struct Shape {
    Point corner[3];
    Depth depth[3];
    Colour colour;
};

Wide FloorDiv(Wide n, Wide d) {
    if (d < 0)
        n = -n, d = -d;
    return n / d - (n % d != 0 && n < 0 ? 1 : 0);
}

// Doubled coordinates: corners on even numbers, pixel centres on odd ones.
struct Doubled {
    Wide x, y;
};

Doubled Twice(Point p) {
    return {Wide(2) * p.x, Wide(2) * p.y};
}

// Positive when r lies to the left of p->q as the picture shows it (rows grow downward).
Wide Cross(Doubled p, Doubled q, Doubled r) {
    return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
}

// The edge p-q, whose triangle's third corner is r, is a top edge (level, the triangle below
// it) or a left edge (the triangle to its right).
bool TopOrLeft(Doubled p, Doubled q, Doubled r) {
    const Wide dx = q.x - p.x, dy = q.y - p.y;
    if (dy == 0)
        return r.y > p.y;
    return ((r.x - p.x) * dy - (r.y - p.y) * dx > 0) == (dy > 0);
}

// The pixel's centre lies inside the triangle, or on a top or left edge of it.
bool Fills(const Shape& s, std::int32_t x, std::int32_t y) {
    const Doubled v[3] = {Twice(s.corner[0]), Twice(s.corner[1]), Twice(s.corner[2])};
    const Doubled centre{Wide(2) * x + 1, Wide(2) * y + 1};
    const Wide area = Cross(v[0], v[1], v[2]);
    if (area == 0)
        return false;
    for (int k = 0; k < 3; ++k) {
        const Doubled p = v[k], q = v[(k + 1) % 3], r = v[(k + 2) % 3];
        const Wide side = Cross(p, q, centre);
        if (side == 0 ? !TopOrLeft(p, q, r) : (side > 0) != (area > 0))
            return false;
    }
    return true;
}

// Depth on the plane through the three pixel corners, at the pixel.
Depth PlaneDepth(const Shape& s, std::int32_t x, std::int32_t y) {
    const Point p0 = s.corner[0], p1 = s.corner[1], p2 = s.corner[2];
    const Depth x1 = Depth(p1.x) - p0.x, y1 = Depth(p1.y) - p0.y;
    const Depth x2 = Depth(p2.x) - p0.x, y2 = Depth(p2.y) - p0.y;
    const Depth d1 = s.depth[1] - s.depth[0], d2 = s.depth[2] - s.depth[0];
    const Depth area = x1 * y2 - x2 * y1;
    const Depth a = (d1 * y2 - d2 * y1) / area, b = (d2 * x1 - d1 * x2) / area;
    return s.depth[0] + a * (Depth(x) + 0.5 - p0.x) + b * (Depth(y) + 0.5 - p0.y);
}

// The depth of the pen's line from corner i to corner j at the pixel, when the line has it.
std::optional<Depth> LineDepth(const Shape& s, int i, int j, std::int32_t x, std::int32_t y) {
    const Point p = s.corner[i], q = s.corner[j];
    const bool alongX = std::llabs(std::int64_t(q.x) - p.x) >= std::llabs(std::int64_t(q.y) - p.y);
    // Major and minor coordinates of the end nearer the start of the major axis, and of the
    // other end; the line is the same from either end.
    Wide m0 = alongX ? p.x : p.y, n0 = alongX ? p.y : p.x, m1 = alongX ? q.x : q.y;
    Wide n1 = alongX ? q.y : q.x;
    Depth d0 = s.depth[i], d1 = s.depth[j];
    if (m1 < m0)
        std::swap(m0, m1), std::swap(n0, n1), std::swap(d0, d1);
    const Wide m = alongX ? x : y, n = alongX ? y : x;
    if (m < m0 || m > m1)
        return std::nullopt;
    if (m1 == m0)
        return n == n0 ? std::optional<Depth>(std::max(d0, d1)) : std::nullopt;
    // The nearest to n0 + (n1 - n0) (m - m0) / (m1 - m0), halves up.
    const Wide dm = m1 - m0;
    if (n != n0 + FloorDiv(2 * (n1 - n0) * (m - m0) + dm, 2 * dm))
        return std::nullopt;
    return d0 + (d1 - d0) * Depth(m - m0) / Depth(dm);
}

// The nearest of the outline's depths at the pixel, when the outline has it.
std::optional<Depth> OutlineDepth(const Shape& s, std::int32_t x, std::int32_t y) {
    std::optional<Depth> depth;
    for (int k = 0; k < 3; ++k)
        if (const auto d = LineDepth(s, k, (k + 1) % 3, x, y))
            depth = std::max(depth.value_or(*d), *d);
    return depth;
}

// The nearer of the fill's and the outline's depths at a pixel the triangle covers.
std::optional<Depth> DepthAt(const Shape& s, std::int32_t x, std::int32_t y) {
    std::optional<Depth> depth = OutlineDepth(s, x, y);
    if (Fills(s, x, y)) {
        const Depth d = PlaneDepth(s, x, y);
        depth = std::max(depth.value_or(d), d);
    }
    return depth;
}

// Depth change from one pixel to the next: across the plane along the steeper axis and along
// both axes (none without an area), and along the steepest edge.
struct Changes {
    Depth steep = 0, both = 0, edge = 0;
};

Changes ChangesOf(const Shape& s) {
    const Point p0 = s.corner[0], p1 = s.corner[1], p2 = s.corner[2];
    const Depth x1 = Depth(p1.x) - p0.x, y1 = Depth(p1.y) - p0.y;
    const Depth x2 = Depth(p2.x) - p0.x, y2 = Depth(p2.y) - p0.y;
    const Depth d1 = s.depth[1] - s.depth[0], d2 = s.depth[2] - s.depth[0];
    const Depth area = std::fabs(x1 * y2 - x2 * y1);
    Changes changes;
    if (area != 0) {
        const Depth a = std::fabs(d1 * y2 - d2 * y1) / area,
                    b = std::fabs(d2 * x1 - d1 * x2) / area;
        changes.steep = std::max(a, b), changes.both = a + b;
    }
    for (int k = 0; k < 3; ++k) {
        const Point p = s.corner[k], q = s.corner[(k + 1) % 3];
        const Depth steps =
            std::max({Depth(1), std::fabs(Depth(q.x) - p.x), std::fabs(Depth(q.y) - p.y)});
        changes.edge = std::max(changes.edge, std::fabs(s.depth[(k + 1) % 3] - s.depth[k]) / steps);
    }
    return changes;
}

Shape ShapeOf(const ProjectedScene& projected, std::size_t i, const DrawMode& mode) {
    const ProjectedTriangle t = projected.triangle(i);
    Shape s{};
    const Vec3* corners[3] = {&t.corner1, &t.corner2, &t.corner3};
    for (int k = 0; k < 3; ++k) {
        const float x = CheckedToFloat(double(mode.zoom) * corners[k]->x);
        const float z = CheckedToFloat(double(mode.zoom) * corners[k]->z);
        WorldToDevice(projected.mapping, x, z, s.corner[k].x, s.corner[k].y);
        s.depth[k] = corners[k]->y;
    }
    if (mode.shaded)
        s.colour = ComputeShadedColour(t.corner1, t.corner2, t.corner3, projected.rotatedSun,
                                       float(t.colour), 0.2f, 0.4f, 0.4f, 0.5f);
    else
        s.colour = kWhite;
    return s;
}

// Calls visit(x, y) for each pixel of the picture within the triangle's corners.
template <typename Visit>
void ForEachPixel(const Shape& s, const PixelBuffer& picture, Visit visit) {
    const auto [minX, maxX] = std::minmax({s.corner[0].x, s.corner[1].x, s.corner[2].x});
    const auto [minY, maxY] = std::minmax({s.corner[0].y, s.corner[1].y, s.corner[2].y});
    for (std::int32_t y = std::max(minY, 0); y <= std::min(maxY, picture.height() - 1); ++y)
        for (std::int32_t x = std::max(minX, 0); x <= std::min(maxX, picture.width() - 1); ++x)
            visit(x, y);
}

void DrawInOrder(const std::vector<Shape>& shapes, bool shaded, OracleOutcome& out) {
    for (const Shape& s : shapes)
        ForEachPixel(s, out.picture, [&](std::int32_t x, std::int32_t y) {
            if (shaded ? DepthAt(s, x, y).has_value() : OutlineDepth(s, x, y).has_value())
                out.picture.setPixel(x, y, s.colour);
        });
}

// How far apart two depths may come out of 32-bit arithmetic that the rules call equal.
Depth Rounding(const Shape& a, const Shape& b) {
    Depth scale = 1;
    for (const Shape* s : {&a, &b})
        for (const Depth d : s->depth)
            scale += std::fabs(d);
    return 1e-6 * scale;
}

// A triangle over a pixel, at its nearest depth there.
struct Candidate {
    Depth depth;
    const Shape* shape;
};

// The nearest candidate, the later of equals.
Candidate NearestOf(const std::vector<Candidate>& candidates) {
    Candidate nearest = candidates.front();
    for (const Candidate& c : candidates)
        if (c.depth >= nearest.depth)
            nearest = c;
    return nearest;
}

void DrawNearest(const std::vector<Shape>& shapes, bool shaded, OracleOutcome& out) {
    const std::int32_t width = out.picture.width();
    std::vector<std::vector<Candidate>> over(std::size_t(width) *
                                             std::size_t(out.picture.height()));
    const auto index = [width](std::int32_t x, std::int32_t y) {
        return std::size_t(y) * std::size_t(width) + std::size_t(x);
    };
    for (const Shape& s : shapes)
        ForEachPixel(s, out.picture, [&](std::int32_t x, std::int32_t y) {
            if (const auto d = DepthAt(s, x, y))
                over[index(x, y)].push_back({*d, &s});
        });
    if (shaded) {
        for (std::int32_t y = 0; y < out.picture.height(); ++y)
            for (std::int32_t x = 0; x < width; ++x) {
                const std::vector<Candidate>& here = over[index(x, y)];
                if (here.empty())
                    continue;
                const Candidate nearest = NearestOf(here);
                out.picture.setPixel(x, y, nearest.shape->colour);
                // Equal depths are decided; nearly equal ones are rounding's to decide.
                for (const Candidate& c : here)
                    if (c.depth != nearest.depth &&
                        nearest.depth - c.depth <= Rounding(*nearest.shape, *c.shape))
                        out.also.emplace(index(x, y), c.shape->colour);
            }
        return;
    }
    for (const Shape& s : shapes)
        ForEachPixel(s, out.picture, [&](std::int32_t x, std::int32_t y) {
            const auto line = OutlineDepth(s, x, y);
            if (!line)
                return;
            const Candidate nearest = NearestOf(over[index(x, y)]);
            // A pixel's depth change of the nearest surface: at least its change along the
            // steeper axis, at most along both axes and that of the edge's own surface too.
            const Changes n = ChangesOf(*nearest.shape), own = ChangesOf(s);
            const Depth behind = nearest.depth - Rounding(s, *nearest.shape) - *line;
            if (behind <= n.steep)
                out.picture.setPixel(x, y, kWhite);
            else if (behind <= n.both + std::max(own.both, own.edge))
                out.also.emplace(index(x, y), kWhite);
        });
}

std::string Hex(Colour c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", c);
    return text;
}

}  // namespace

OracleOutcome OracleDraw(const ProjectedScene& projected, const DrawMode& mode, PixelBuffer picture,
                         PenAndBrush canvas) {
    canvas.brushStyle = mode.shaded ? BrushStyle::Solid : BrushStyle::Clear;
    if (!mode.shaded)
        canvas.penColour = kWhite;
    OracleOutcome out{picture, {}, canvas, true};
    std::vector<Shape> shapes;
    try {
        for (std::size_t i = 0; i < projected.size(); ++i) {
            shapes.push_back(ShapeOf(projected, i, mode));
            if (mode.shaded)
                out.canvas.brushColour = out.canvas.penColour = shapes.back().colour;
        }
    } catch (const PlatformError& e) {
        out.fault = e.what();
        out.drawn = false;
    }
    if (mode.hidden)
        DrawNearest(shapes, mode.shaded, out);
    else
        DrawInOrder(shapes, mode.shaded, out);
    return out;
}

OracleOutcome OracleRender(const Scene& scene, const ViewAngles& angles,
                           const ProjectionOptions& options, const DrawMode& mode,
                           PixelBuffer picture, PenAndBrush canvas) {
    OracleOutcome out{picture, {}, canvas};
    try {
        const auto projected =
            ProjectScene(scene, angles, mode.zoom, picture.width(), picture.height(), options);
        if (!projected)
            return out;
        // Black, then the ring of columns and rows up to the last but one in the pen.
        const std::int32_t right = picture.width() - 2, bottom = picture.height() - 2;
        for (std::int32_t y = 0; y < picture.height(); ++y)
            for (std::int32_t x = 0; x < picture.width(); ++x) {
                const bool ring =
                    x <= right && y <= bottom && (x == 0 || y == 0 || x == right || y == bottom);
                picture.setPixel(x, y, ring ? canvas.penColour : kBlack);
            }
        PenAndBrush cleared = canvas;
        cleared.brushStyle = BrushStyle::Solid, cleared.brushColour = kBlack;
        out = OracleDraw(*projected, mode, picture, cleared);
        if (out.fault == "no fault")
            out.canvas.brushStyle = canvas.brushStyle, out.canvas.brushColour = canvas.brushColour;
    } catch (const PlatformError& e) {
        out.fault = e.what();
    }
    return out;
}

Disagreement Compare(const OracleOutcome& expected, const PixelBuffer& actual) {
    Disagreement result;
    for (std::int32_t y = 0; y < actual.height(); ++y)
        for (std::int32_t x = 0; x < actual.width(); ++x) {
            const Colour got = actual.pixel(x, y), want = expected.picture.pixel(x, y);
            const auto [from, to] = expected.also.equal_range(
                std::size_t(y) * std::size_t(actual.width()) + std::size_t(x));
            std::string allowed = Hex(want);
            bool allows = got == want;
            for (auto i = from; i != to; ++i)
                allowed += " or " + Hex(i->second), allows = allows || got == i->second;
            if (!allows && result.pixels++ == 0)
                result.first = "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                               "): expected " + allowed + ", got " + Hex(got);
        }
    return result;
}

}  // namespace quarn::testing
