#include "oracle_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "checked_float.h"
#include "oracle_coverage.h"
#include "platform_error.h"
#include "shading.h"
#include "window_mapping.h"

namespace quarn::testing {
namespace {

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
    s.colour = mode.shaded
                   ? ComputeShadedColour(t.corner1, t.corner2, t.corner3, projected.rotatedSun,
                                         float(t.colour), 0.2f, 0.4f, 0.4f, 0.5f)
                   : kWhite;
    return s;
}

// How far apart two depths may come out of 32-bit arithmetic that the rules call equal.
double Rounding(const Shape& a, const Shape& b) {
    double scale = 1;
    for (const Shape* s : {&a, &b})
        for (const double d : s->depth)
            scale += std::fabs(d);
    return 1e-6 * scale;
}

// Calls visit(x, y, index) for each pixel of the picture within the triangle's corners.
template <typename Visit>
void ForEachPixel(const Shape& s, const PixelBuffer& picture, Visit visit) {
    const auto [minX, maxX] = std::minmax({s.corner[0].x, s.corner[1].x, s.corner[2].x});
    const auto [minY, maxY] = std::minmax({s.corner[0].y, s.corner[1].y, s.corner[2].y});
    for (std::int32_t y = std::max(minY, 0); y <= std::min(maxY, picture.height() - 1); ++y)
        for (std::int32_t x = std::max(minX, 0); x <= std::min(maxX, picture.width() - 1); ++x)
            visit(x, y, std::size_t(y) * std::size_t(picture.width()) + std::size_t(x));
}

void DrawInOrder(const std::vector<Shape>& shapes, bool shaded, OracleOutcome& out) {
    for (const Shape& s : shapes)
        ForEachPixel(s, out.picture, [&](std::int32_t x, std::int32_t y, std::size_t) {
            if (shaded ? DepthAt(s, x, y).has_value() : OutlineDepth(s, x, y).has_value())
                out.picture.setPixel(x, y, s.colour);
        });
}

// A triangle over a pixel, at its nearest depth there.
struct Candidate {
    double depth;
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
    std::vector<std::vector<Candidate>> over(out.picture.pixels().size());
    for (const Shape& s : shapes)
        ForEachPixel(s, out.picture, [&](std::int32_t x, std::int32_t y, std::size_t i) {
            if (const auto d = DepthAt(s, x, y))
                over[i].push_back({*d, &s});
        });
    std::vector<Candidate> nearest(over.size(), Candidate{});
    for (std::size_t i = 0; i < over.size(); ++i) {
        if (over[i].empty())
            continue;
        nearest[i] = NearestOf(over[i]);
        if (!shaded)
            continue;
        out.picture.writablePixels()[i] = nearest[i].shape->colour;
        // Equal depths are decided; nearly equal ones are rounding's to decide.
        for (const Candidate& c : over[i])
            if (c.depth != nearest[i].depth &&
                nearest[i].depth - c.depth <= Rounding(*nearest[i].shape, *c.shape))
                out.also.emplace(i, c.shape->colour);
    }
    if (shaded)
        return;
    for (const Shape& s : shapes)
        ForEachPixel(s, out.picture, [&](std::int32_t x, std::int32_t y, std::size_t i) {
            const auto line = OutlineDepth(s, x, y);
            if (!line)
                return;
            // A pixel's depth change of the nearest surface: at least its change along the
            // steeper axis, at most along both axes and that of the edge's own surface too.
            const Shape& front = *nearest[i].shape;
            const Changes near = ChangesOf(front), own = ChangesOf(s);
            const double behind = nearest[i].depth - Rounding(s, front) - *line;
            if (behind <= near.steep)
                out.picture.setPixel(x, y, kWhite);
            else if (behind <= near.both + std::max(own.both, own.edge))
                out.also.emplace(i, kWhite);
        });
}

std::string Hex(Colour c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", c);
    return text;
}

}  // namespace

PixelBuffer Patterned(std::int32_t width, std::int32_t height) {
    PixelBuffer picture(width, height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            picture.setPixel(x, y, Colour(x * 7919 + y * 104729) & 0xFFFFFFu);
    return picture;
}

OracleOutcome OracleDraw(const ProjectedScene& projected, const DrawMode& mode, PixelBuffer picture,
                         PenAndBrush canvas) {
    canvas.brushStyle = mode.shaded ? BrushStyle::Solid : BrushStyle::Clear;
    if (!mode.shaded)
        canvas.penColour = kWhite;
    OracleOutcome out{picture, {}, canvas, true};
    std::vector<Shape> shapes;
    try {  // in scene order up to the first triangle whose corners or colour fault
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
        out = OracleDraw(*projected, mode, picture, {BrushStyle::Solid, kBlack, canvas.penColour});
        if (out.drawn)
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
