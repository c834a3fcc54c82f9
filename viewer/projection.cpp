#include "projection.h"

#include <cmath>

#include "checked_float.h"
#include "scene.h"
#include "show_error.h"
#include "window_mapping.h"

namespace quarn {

ProjectedScene ProjectedList;
Vec3 RotatedSun;

namespace {

constexpr double kRadiansPerDegree = 0.0174532925199432957692;
constexpr float kExtentStart = 1.7e38f;

float F(double v) {
    return CheckedToFloat(v);
}

Vec3 ToVec3(const Vertex& v) {
    return {v.x, v.y, v.z};
}

struct Extent {
    float minX = kExtentStart, minZ = kExtentStart;
    float maxX = -kExtentStart, maxZ = -kExtentStart;

    void widen(const Vec3& p) {
        if (p.x > maxX)
            maxX = p.x;
        if (p.x < minX)
            minX = p.x;
        if (p.z > maxZ)
            maxZ = p.z;
        if (p.z < minZ)
            minZ = p.z;
    }

    // The largest distance from the origin along x' or z'.
    float reach() const {
        float m = maxX;
        if (-minX > m)
            m = -minX;
        if (maxZ > m)
            m = maxZ;
        if (-minZ > m)
            m = -minZ;
        return m;
    }
};

// The world window along one axis. A flat axis would make the mapping divide by zero; it
// gets a window two units wide centred on where the drawing puts its one value.
void AxisWindow(float k, float low, float high, float& windowLow, float& windowHigh) {
    windowLow = F(double(k) * double(low));
    windowHigh = F(double(k) * double(high));
    if (windowLow != windowHigh)
        return;
    const double centre = F(double(ZoomFactor) * double(low));
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

bool Project_Scene(std::int32_t width, std::int32_t height) {
    const Mat3 view = ViewMatrixFor(ObserverElevation, ObserverAzimuth);
    RotatedSun = MatMulVec(SunPosition(SunElevation, SunAzimuth), view);

    Extent extent;
    std::vector<ProjectedTriangle>& out = ProjectedList.triangles;
    out.clear();
    out.reserve(TriangleList.size());
    for (const SceneTriangle& s : TriangleList) {
        ProjectedTriangle p;
        p.corner1 = MatMulVec(ToVec3(s.corner1), view);
        extent.widen(p.corner1);
        p.corner2 = MatMulVec(ToVec3(s.corner2), view);
        extent.widen(p.corner2);
        p.corner3 = MatMulVec(ToVec3(s.corner3), view);
        extent.widen(p.corner3);
        p.colour = s.colour;
        out.push_back(p);
    }

    const float m = extent.reach();
    if (std::fabs(double(m)) < 1e-9) {
        Show_Error("Division by zero!");
        ProjectedList.present = false;
        out.clear();
        TriangleList.clear();
        return false;
    }
    const float k = F(1.0 / double(m));
    float xLow, xHigh, zLow, zHigh;
    AxisWindow(k, extent.minX, extent.maxX, xLow, xHigh);
    AxisWindow(k, extent.minZ, extent.maxZ, zLow, zHigh);
    SetWorldWindow(xLow, zLow, xHigh, zHigh);
    SetDeviceViewport(0, 0, width - 1, height - 1);
    ProjectedList.present = true;
    return true;
}

}  // namespace quarn
