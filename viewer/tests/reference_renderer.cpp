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

__extension__ typedef __int128 Wide;

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

Wide FloorDiv(Wide n, Wide d) {
    Wide q = n / d;
    if (n % d != 0 && n < 0)
        --q;
    return q;
}

// Pixel centres inside the triangle, edges on its top or left included.
void FillTriangle(PixelBuffer& picture, Point a, Point b, Point c, Colour colour) {
    const Wide area = (Wide(b.x) - a.x) * (Wide(c.y) - a.y) - (Wide(b.y) - a.y) * (Wide(c.x) - a.x);
    if (area == 0)
        return;
    if (area < 0)
        std::swap(b, c);
    const std::int32_t x0 = std::max(std::min({a.x, b.x, c.x}), 0);
    const std::int32_t x1 = std::min(std::max({a.x, b.x, c.x}) - 1, picture.width() - 1);
    const std::int32_t y0 = std::max(std::min({a.y, b.y, c.y}), 0);
    const std::int32_t y1 = std::min(std::max({a.y, b.y, c.y}) - 1, picture.height() - 1);
    const Point edges[3][2] = {{b, c}, {c, a}, {a, b}};
    for (std::int32_t y = y0; y <= y1; ++y) {
        for (std::int32_t x = x0; x <= x1; ++x) {
            bool inside = true;
            for (const auto& [from, to] : edges) {
                const Wide dx = Wide(to.x) - from.x, dy = Wide(to.y) - from.y;
                const Wide v = dx * (Wide(2) * y + 1 - Wide(2) * from.y) -
                               dy * (Wide(2) * x + 1 - Wide(2) * from.x);
                const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
                inside = inside && (topLeft ? v >= 0 : v > 0);
            }
            if (inside)
                picture.setPixel(x, y, colour);
        }
    }
}

// One pixel per step of the major axis, the minor coordinate rounded with halves up.
void DrawLine(PixelBuffer& picture, Point a, Point b, Colour colour) {
    const bool xMajor = std::llabs(std::int64_t(b.x) - a.x) >= std::llabs(std::int64_t(b.y) - a.y);
    if ((xMajor && b.x < a.x) || (!xMajor && b.y < a.y))
        std::swap(a, b);
    const std::int64_t m0 = xMajor ? a.x : a.y, m1 = xMajor ? b.x : b.y;
    const std::int64_t n0 = xMajor ? a.y : a.x, n1 = xMajor ? b.y : b.x;
    const std::int64_t limit = xMajor ? picture.width() : picture.height();
    for (std::int64_t m = std::max<std::int64_t>(m0, 0); m <= std::min(m1, limit - 1); ++m) {
        const std::int64_t n =
            m1 == m0 ? n0
                     : n0 + std::int64_t(FloorDiv(Wide(2) * (m - m0) * (n1 - n0) + (m1 - m0),
                                                  Wide(2) * (m1 - m0)));
        if (n < INT32_MIN || n > INT32_MAX)
            continue;
        if (xMajor)
            picture.setPixel(std::int32_t(m), std::int32_t(n), colour);
        else
            picture.setPixel(std::int32_t(n), std::int32_t(m), colour);
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
