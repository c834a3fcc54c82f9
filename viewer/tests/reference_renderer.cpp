#include "reference_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "bounding_box.h"
#include "checked_float.h"
#include "shading.h"
#include "window_mapping.h"

namespace quarn::testing {

namespace {

struct Corners {
    Vec3 corner1, corner2, corner3;
    std::int32_t colour = 0;
};

float F(double v) {
    return CheckedToFloat(v);
}

float Reach(const BoundingBox& extent) {
    float m = extent.max.x;
    if (-extent.min.x > m)
        m = -extent.min.x;
    if (extent.max.z > m)
        m = extent.max.z;
    if (-extent.min.z > m)
        m = -extent.min.z;
    return m;
}

void AxisWindow(float k, float zoom, float low, float high, float& windowLow, float& windowHigh) {
    windowLow = F(double(k) * double(low));
    windowHigh = F(double(k) * double(high));
    if (windowLow != windowHigh)
        return;
    const double centre = F(double(zoom) * double(low));
    windowLow = F(centre - 1.0);
    windowHigh = F(centre + 1.0);
}

// Every corner rotated on its own, the extent widened corner by corner in scene order.
std::optional<WindowMapping> Project(std::span<const SceneTriangle> scene, const Mat3& view,
                                     float zoom, std::int32_t width, std::int32_t height,
                                     std::vector<Corners>& projected) {
    BoundingBox extent;
    for (const SceneTriangle& s : scene) {
        Corners p;
        p.corner1 = MatMulVec({s.corner1.x, s.corner1.y, s.corner1.z}, view);
        extent.widen(p.corner1);
        p.corner2 = MatMulVec({s.corner2.x, s.corner2.y, s.corner2.z}, view);
        extent.widen(p.corner2);
        p.corner3 = MatMulVec({s.corner3.x, s.corner3.y, s.corner3.z}, view);
        extent.widen(p.corner3);
        p.colour = s.colour;
        projected.push_back(p);
    }
    const float m = Reach(extent);
    if (std::fabs(double(m)) < 1e-9)
        return std::nullopt;
    const float k = F(1.0 / double(m));
    float xLow, xHigh, zLow, zHigh;
    AxisWindow(k, zoom, extent.min.x, extent.max.x, xLow, xHigh);
    AxisWindow(k, zoom, extent.min.z, extent.max.z, zLow, zHigh);
    WindowMapping mapping;
    SetWorldWindow(mapping, xLow, zLow, xHigh, zHigh);
    SetDeviceViewport(mapping, 0, 0, width - 1, height - 1);
    return mapping;
}

__extension__ typedef __int128 Wide;

// Coordinates this small keep every edge-function product of doubled coordinates in 64 bits.
constexpr std::int64_t kNarrowLimit = std::int64_t{1} << 28;

bool Narrow(Point p) {
    return std::llabs(p.x) < kNarrowLimit && std::llabs(p.y) < kNarrowLimit;
}

// floor(n / d) for d > 0.
Wide FloorDiv(Wide n, Wide d) {
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

template <typename Int>
void FillClipped(PixelBuffer& buffer, Point a, Point b, Point c, std::int32_t x0, std::int32_t y0,
                 std::int32_t x1, std::int32_t y1, Colour colour) {
    const Edge<Int> e0(b, c, x0, y0), e1(c, a, x0, y0), e2(a, b, x0, y0);
    Int r0 = e0.value, r1 = e1.value, r2 = e2.value;
    for (std::int32_t y = y0; y <= y1; ++y) {
        Int v0 = r0, v1 = r1, v2 = r2;
        for (std::int32_t x = x0; x <= x1; ++x) {
            if (e0.covers(v0) && e1.covers(v1) && e2.covers(v2))
                buffer.setPixel(x, y, colour);
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
void WalkLine(std::int64_t m0, std::int64_t n0, std::int64_t m1, std::int64_t n1,
              std::int64_t clipLow, std::int64_t clipHigh, Plot plot) {
    const std::int64_t dm = m1 - m0, dn = n1 - n0;
    const std::int64_t first = std::max(m0, clipLow), last = std::min(m1, clipHigh);
    if (first > last)
        return;
    if (dm == 0) {
        plot(first, n0);
        return;
    }
    // minor = n0 + floor((2 (m - m0) dn + dm) / (2 dm)), kept as quotient and remainder.
    const Wide twiceDm = Wide(2) * dm;
    const Wide numerator = Wide(2) * (first - m0) * dn + dm;
    Wide quotient = FloorDiv(numerator, twiceDm);
    auto remainder = static_cast<std::int64_t>(numerator - quotient * twiceDm);
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

void FillTriangle(PixelBuffer& picture, Point a, Point b, Point c, Colour colour) {
    const Wide area = (Wide(b.x) - a.x) * (Wide(c.y) - a.y) - (Wide(b.y) - a.y) * (Wide(c.x) - a.x);
    if (area == 0)
        return;
    if (area < 0)
        std::swap(b, c);  // every edge then has the inside on its positive side
    // Centres x + 0.5 within [min, max) of the corners, clipped to the picture.
    const std::int32_t x0 = std::max(std::min({a.x, b.x, c.x}), 0);
    const std::int32_t x1 = std::min(std::max({a.x, b.x, c.x}) - 1, picture.width() - 1);
    const std::int32_t y0 = std::max(std::min({a.y, b.y, c.y}), 0);
    const std::int32_t y1 = std::min(std::max({a.y, b.y, c.y}) - 1, picture.height() - 1);
    if (x0 > x1 || y0 > y1)
        return;
    if (Narrow(a) && Narrow(b) && Narrow(c))
        FillClipped<std::int64_t>(picture, a, b, c, x0, y0, x1, y1, colour);
    else
        FillClipped<Wide>(picture, a, b, c, x0, y0, x1, y1, colour);
}

void DrawLine(PixelBuffer& picture, Point a, Point b, Colour colour) {
    const std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
    if (std::llabs(dx) >= std::llabs(dy)) {
        if (dx < 0)
            std::swap(a, b);
        WalkLine(a.x, a.y, b.x, b.y, 0, picture.width() - 1, [&](std::int64_t x, std::int64_t y) {
            if (y >= 0 && y < picture.height())
                picture.setPixel(std::int32_t(x), std::int32_t(y), colour);
        });
    } else {
        if (dy < 0)
            std::swap(a, b);
        WalkLine(a.y, a.x, b.y, b.x, 0, picture.height() - 1, [&](std::int64_t y, std::int64_t x) {
            if (x >= 0 && x < picture.width())
                picture.setPixel(std::int32_t(x), std::int32_t(y), colour);
        });
    }
}

void Polygon(PixelBuffer& picture, const ReferenceCanvas& canvas, Point a, Point b, Point c) {
    if (canvas.brushStyle == BrushStyle::Solid)
        FillTriangle(picture, a, b, c, canvas.brushColour);
    DrawLine(picture, a, b, canvas.penColour);
    DrawLine(picture, b, c, canvas.penColour);
    DrawLine(picture, c, a, canvas.penColour);
}

void FillRect(PixelBuffer& picture, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom, Colour colour) {
    for (std::int32_t y = top; y < bottom; ++y)
        for (std::int32_t x = left; x < right; ++x)
            picture.setPixel(x, y, colour);
}

void Rectangle(PixelBuffer& picture, const ReferenceCanvas& canvas, std::int32_t right,
               std::int32_t bottom) {
    if (right <= 0 || bottom <= 0)
        return;
    FillRect(picture, 0, 0, right, bottom, canvas.brushColour);
    FillRect(picture, 0, 0, right, 1, canvas.penColour);
    FillRect(picture, 0, bottom - 1, right, bottom, canvas.penColour);
    FillRect(picture, 0, 0, 1, bottom, canvas.penColour);
    FillRect(picture, right - 1, 0, right, bottom, canvas.penColour);
}

Point PixelOf(const WindowMapping& mapping, float zoom, const Vec3& corner) {
    Point p;
    WorldToDevice(mapping, F(double(zoom) * double(corner.x)), F(double(zoom) * double(corner.z)),
                  p.x, p.y);
    return p;
}

}  // namespace

bool ReferenceRender(std::span<const SceneTriangle> scene, const ViewAngles& angles, float zoom,
                     bool shaded, PixelBuffer& picture, ReferenceCanvas& canvas) {
    const ReferenceCanvas saved = canvas;
    const Mat3 view = ViewMatrixFor(angles.observerElevation, angles.observerAzimuth);
    const Vec3 sun = MatMulVec(SunPosition(angles.sunElevation, angles.sunAzimuth), view);
    std::vector<Corners> projected;
    const auto mapping = Project(scene, view, zoom, picture.width(), picture.height(), projected);
    if (!mapping)
        return false;

    canvas.brushColour = kBlack;
    canvas.brushStyle = BrushStyle::Solid;
    FillRect(picture, 0, 0, picture.width(), picture.height(), kBlack);
    Rectangle(picture, canvas, picture.width() - 1, picture.height() - 1);

    if (shaded) {
        canvas.brushStyle = BrushStyle::Solid;
    } else {
        canvas.brushStyle = BrushStyle::Clear;
        canvas.penColour = kWhite;
    }
    for (const Corners& t : projected) {
        const Point a = PixelOf(*mapping, zoom, t.corner1), b = PixelOf(*mapping, zoom, t.corner2),
                    c = PixelOf(*mapping, zoom, t.corner3);
        if (shaded) {
            const Colour colour = ComputeShadedColour(t.corner1, t.corner2, t.corner3, sun,
                                                      float(t.colour), 0.2f, 0.4f, 0.4f, 0.5f);
            canvas.brushColour = colour;
            canvas.penColour = colour;
        }
        Polygon(picture, canvas, a, b, c);
    }
    canvas.brushColour = saved.brushColour;
    canvas.brushStyle = saved.brushStyle;
    return true;
}

}  // namespace quarn::testing
