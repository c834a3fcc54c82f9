#include "projection.h"

#include <cmath>

#include "bounding_box.h"
#include "checked_float.h"
#include "show_error.h"

namespace quarn {

std::optional<ProjectedScene> ProjectedList;
Vec3 RotatedSun;

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

}  // namespace

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

std::optional<ProjectedScene> ProjectScene(std::span<const SceneTriangle> scene,
                                           const ViewAngles& angles, float zoom, std::int32_t width,
                                           std::int32_t height) {
    const Mat3 view = ViewMatrixFor(angles.observerElevation, angles.observerAzimuth);
    ProjectedScene projected;
    projected.rotatedSun = RotatedSunFor(angles);

    BoundingBox extent;
    projected.triangles.reserve(scene.size());
    for (const SceneTriangle& s : scene) {
        ProjectedTriangle p;
        p.corner1 = MatMulVec(ToVec3(s.corner1), view);
        extent.widen(p.corner1);
        p.corner2 = MatMulVec(ToVec3(s.corner2), view);
        extent.widen(p.corner2);
        p.corner3 = MatMulVec(ToVec3(s.corner3), view);
        extent.widen(p.corner3);
        p.colour = s.colour;
        projected.triangles.push_back(p);
    }

    const float m = Reach(extent);
    if (std::fabs(double(m)) < 1e-9)
        return std::nullopt;
    const float k = F(1.0 / double(m));
    float xLow, xHigh, zLow, zHigh;
    AxisWindow(k, zoom, extent.min.x, extent.max.x, xLow, xHigh);
    AxisWindow(k, zoom, extent.min.z, extent.max.z, zLow, zHigh);
    SetWorldWindow(projected.mapping, xLow, zLow, xHigh, zHigh);
    SetDeviceViewport(projected.mapping, 0, 0, width - 1, height - 1);
    return projected;
}

ViewAngles CurrentViewAngles() {
    return {ObserverElevation, ObserverAzimuth, SunElevation, SunAzimuth};
}

bool Project_Scene(std::int32_t width, std::int32_t height) {
    const ViewAngles angles = CurrentViewAngles();
    ProjectedList.reset();
    RotatedSun = RotatedSunFor(angles);
    ProjectedList = ProjectScene(TriangleList, angles, ZoomFactor, width, height);
    if (!ProjectedList) {
        Show_Error("Division by zero!");
        ClearScene();
        return false;
    }
    g_WindowMapping = ProjectedList->mapping;
    return true;
}

}  // namespace quarn
