#include "projection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bounding_box.h"
#include "checked_float.h"
#include "parallel.h"

namespace quarn {

namespace {

constexpr double kRadiansPerDegree = 0.0174532925199432957692;

float F(double v) {
    return CheckedToFloat(v);
}

Vec3 ToVec3(const Vertex& v) {
    return {v.x, v.y, v.z};
}

// The largest distance from the origin along x' or z'.
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

// The world window along one axis. A flat axis would make the mapping divide by zero; it
// gets a window two units wide centred on where the drawing puts its one value.
void AxisWindow(float k, float zoom, float low, float high, float& windowLow, float& windowHigh) {
    windowLow = F(double(k) * double(low));
    windowHigh = F(double(k) * double(high));
    if (windowLow != windowHigh)
        return;
    const double centre = F(double(zoom) * double(low));
    windowLow = F(centre - 1.0);
    windowHigh = F(centre + 1.0);
}

// Widens the narrower axis of the world window about its middle, so that a world unit spans as
// many of the viewport's columns as of its rows.
void FitProportions(float& xLow, float& zLow, float& xHigh, float& zHigh, std::int32_t columns,
                    std::int32_t rows) {
    const double units = std::max((double(xHigh) - xLow) / columns, (double(zHigh) - zLow) / rows);
    const auto widen = [units](float& low, float& high, std::int32_t pixels) {
        const double middle = (double(low) + high) / 2, half = units * pixels / 2;
        low = F(middle - half);
        high = F(middle + half);
    };
    widen(xLow, xHigh, columns);
    widen(zLow, zHigh, rows);
}

// One row of the rotation as MatMulVec forms it, without its fault checks.
float RotatedCoordinate(const float* row, const Vertex& v) {
    return static_cast<float>(double(row[0]) * double(v.x) + double(row[1]) * double(v.y) +
                              double(row[2]) * double(v.z));
}

struct RotatedChunk {
    BoundingBox extent;   // of x' and z'; y' is not measured
    bool unsure = false;  // some coordinate is not finite: MatMulVec may fault there
    bool behindEye = false, beyondFloat = false;  // the perspective division's faults
};

// Where the eye stands: eye units in front of depthOrigin along y'.
struct Eye {
    double distance = 0;  // 0: a parallel projection
    double depthOrigin = 0;
};

// Divides x' and z' by (1 - (y' - depthOrigin) / distance).
void PerspectiveDivide(float& x, float y, float& z, const Eye& eye, RotatedChunk& chunk) {
    const double f = 1.0 - (double(y) - eye.depthOrigin) / eye.distance;
    if (!(f > 0)) {
        chunk.behindEye = true;
        return;
    }
    const double px = double(x) / f, pz = double(z) / f;
    if (std::fabs(px) > std::numeric_limits<float>::max() ||
        std::fabs(pz) > std::numeric_limits<float>::max()) {
        chunk.beyondFloat = true;
        return;
    }
    x = static_cast<float>(px);
    z = static_cast<float>(pz);
}

// Rotates vertices begin..end-1 into out (divided for perspective when the eye has a distance)
// and widens the chunk's extent in vertex order.
RotatedChunk RotateChunk(std::span<const Vertex> vertices, const Mat3& view, const Eye& eye,
                         ViewVertices& out, std::size_t begin, std::size_t end) {
    RotatedChunk chunk;
    float xLow = chunk.extent.min.x, xHigh = chunk.extent.max.x;
    float zLow = chunk.extent.min.z, zHigh = chunk.extent.max.z;
    float probe = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const Vertex& v = vertices[i];
        float x = RotatedCoordinate(&view[0], v), z = RotatedCoordinate(&view[6], v);
        const float y = RotatedCoordinate(&view[3], v);
        if (eye.distance > 0)
            PerspectiveDivide(x, y, z, eye, chunk);
        out.x[i] = x, out.y[i] = y, out.z[i] = z;
        probe += 0.0f * x + 0.0f * y + 0.0f * z;  // NaN once anything is not finite
        xHigh = x > xHigh ? x : xHigh;
        xLow = x < xLow ? x : xLow;
        zHigh = z > zHigh ? z : zHigh;
        zLow = z < zLow ? z : zLow;
    }
    chunk.extent.min.x = xLow, chunk.extent.max.x = xHigh;
    chunk.extent.min.z = zLow, chunk.extent.max.z = zHigh;
    chunk.unsure = !(probe == 0.0f);
    return chunk;
}

// The first corner, in scene order, whose rotation MatMulVec refuses raises its fault.
void RaiseFirstRotationFault(const Scene& scene, const Mat3& view) {
    for (const SceneTriangle& t : scene)
        for (const Vertex& v : {t.corner1, t.corner2, t.corner3})
            MatMulVec(ToVec3(v), view);
}

constexpr std::size_t kMinimumPerWorker = 1 << 15;

// The middle of the scene's depth range, where the eye's distance counts from: the whole scene
// then lies in front of an eye farther than half its diagonal, wherever it stands in the world
// (from the world's origin, a plateau 2000 units up stood behind the eye). Without a finite
// range, the origin.
double DepthMiddle(std::span<const Vertex> vertices, const Mat3& view) {
    struct Range {
        double low = std::numeric_limits<double>::infinity();
        double high = -std::numeric_limits<double>::infinity();
    };
    std::vector<Range> ranges(ChunkCount(vertices.size(), kMinimumPerWorker));
    ParallelChunks(vertices.size(), kMinimumPerWorker,
                   [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                       Range& r = ranges[chunk];
                       for (std::size_t i = begin; i < end; ++i) {
                           const double y = RotatedCoordinate(&view[3], vertices[i]);
                           r.low = std::min(r.low, y);
                           r.high = std::max(r.high, y);
                       }
                   });
    Range all;
    for (const Range& r : ranges)
        all = {std::min(all.low, r.low), std::max(all.high, r.high)};
    const double middle = (all.low + all.high) / 2;
    return std::isfinite(middle) ? middle : 0.0;
}

// Every vertex rotated, and the extent of x' and z' as widening corner by corner in scene
// order gives it: every vertex is a corner, and a bound is the first value to reach it, which
// differs at most in the sign of a zero bound.
BoundingBox RotateVertices(const Scene& scene, const Mat3& view, double eyeDistance,
                           ViewVertices& out) {
    const std::span<const Vertex> vertices = scene.vertices();
    const Eye eye{eyeDistance, eyeDistance > 0 ? DepthMiddle(vertices, view) : 0.0};
    out.x.resize(vertices.size());
    out.y.resize(vertices.size());
    out.z.resize(vertices.size());
    std::vector<RotatedChunk> chunks(ChunkCount(vertices.size(), kMinimumPerWorker));
    ParallelChunks(vertices.size(), kMinimumPerWorker,
                   [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                       chunks[chunk] = RotateChunk(vertices, view, eye, out, begin, end);
                   });
    BoundingBox extent;
    for (const RotatedChunk& chunk : chunks) {
        if (chunk.behindEye)
            ThrowDivisionByZero();
        if (chunk.beyondFloat)
            ThrowOverflow();
        if (chunk.unsure)
            RaiseFirstRotationFault(scene, view);
        extent.widen(chunk.extent);
    }
    return extent;
}

// The arrays of the last projection drawn, kept for the next: a redraw then reuses memory
// that is already the process's instead of having the system hand out and clear new pages.
ViewVertices& SpareVertices() {
    thread_local ViewVertices spare;
    return spare;
}

}  // namespace

void KeepForReuse(ProjectedScene&& drawn) {
    SpareVertices() = std::move(drawn.vertices);
}

Mat3 ViewMatrixFor(std::uint16_t elevation, std::uint16_t azimuth) {
    const double e = double(elevation) * kRadiansPerDegree;
    const double a = double(azimuth) * kRadiansPerDegree;
    const double sinE = F(std::sin(e)), cosE = F(std::cos(e));
    const double sinA = F(std::sin(a)), cosA = F(std::cos(a));
    return {F(cosA),         F(-sinA),        0.0f,   F(cosE * sinA), F(cosE * cosA), F(sinE),
            F(-sinE * sinA), F(-sinE * cosA), F(cosE)};
}

Vec3 SunPosition(std::uint16_t elevation, std::uint16_t azimuth) {
    const double e = double(elevation) * kRadiansPerDegree;
    const double a = double(azimuth) * kRadiansPerDegree;
    const double t = 10.0 * std::cos(e);
    return {F(std::sin(a) * t), F(std::cos(a) * t), F(10.0 * std::sin(e))};
}

Vec3 RotatedSunFor(const ViewAngles& angles) {
    return MatMulVec(SunPosition(angles.sunElevation, angles.sunAzimuth),
                     ViewMatrixFor(angles.observerElevation, angles.observerAzimuth));
}

ProjectedTriangle ProjectedScene::triangle(std::size_t i) const {
    const Triangle& t = (*triangles)[i];
    const auto at = [&](std::int32_t v) {
        const auto n = std::size_t(v);
        return Vec3{vertices.x[n], vertices.y[n], vertices.z[n]};
    };
    return {at(t.a), at(t.b), at(t.c), t.colour};
}

std::optional<ProjectedScene> ProjectScene(const Scene& scene, const ViewAngles& angles, float zoom,
                                           std::int32_t width, std::int32_t height,
                                           const ProjectionOptions& options) {
    const Mat3 view = ViewMatrixFor(angles.observerElevation, angles.observerAzimuth);
    ProjectedScene projected;
    projected.rotatedSun = RotatedSunFor(angles);
    projected.triangles = scene.sharedTriangles();
    ViewVertices& spare = SpareVertices();
    if (spare.x.capacity() > 2 * scene.vertices().size())
        spare = {};  // a much smaller scene than the last gives the memory back
    projected.vertices = std::move(spare);
    const BoundingBox extent = RotateVertices(scene, view, options.eyeDistance, projected.vertices);

    const float m = Reach(extent);
    if (std::fabs(double(m)) < 1e-9)
        return std::nullopt;
    const float k = F(1.0 / double(m));
    float xLow, xHigh, zLow, zHigh;
    AxisWindow(k, zoom, extent.min.x, extent.max.x, xLow, xHigh);
    AxisWindow(k, zoom, extent.min.z, extent.max.z, zLow, zHigh);
    if (options.keepProportions && width > 1 && height > 1)
        FitProportions(xLow, zLow, xHigh, zHigh, width - 1, height - 1);
    SetWorldWindow(projected.mapping, xLow, zLow, xHigh, zHigh);
    SetDeviceViewport(projected.mapping, 0, 0, width - 1, height - 1);
    return projected;
}

std::optional<ProjectedScene> ProjectScene(std::span<const SceneTriangle> scene,
                                           const ViewAngles& angles, float zoom, std::int32_t width,
                                           std::int32_t height) {
    return ProjectScene(Scene(scene), angles, zoom, width, height);
}

ProjectionOptions ProjectionOptionsFor(const ViewOptions& view, float perspectiveDistance) {
    const float eye = std::fabs(perspectiveDistance);
    return {view.keepProportions, view.perspective && eye > 1e-9f ? eye : 0.0f};
}

}  // namespace quarn
