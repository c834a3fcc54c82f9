#include "scene_reader.h"

#include <cerrno>
#include <cmath>
#include <fstream>

#include "bounding_box.h"
#include "checked_float.h"
#include "platform_error.h"
#include "scene.h"
#include "show_error.h"

namespace quarn {

namespace {

constexpr double kNearZero = 1e-9;

// A NaN would compare false everywhere and slip through the box silently, and an infinity
// would turn the perspective distance into one: neither is a coordinate.
void WidenChecked(BoundingBox& box, const Vertex& v) {
    CheckFinite(v.x);
    CheckFinite(v.y);
    CheckFinite(v.z);
    box.widen({v.x, v.y, v.z});
}

float DiagonalSquared(const BoundingBox& box) {
    const double dx = double(box.max.x) - double(box.min.x);
    const double dy = double(box.max.y) - double(box.min.y);
    const double dz = double(box.max.z) - double(box.min.z);
    return CheckedToFloat(dx * dx + dy * dy + dz * dz);
}

void ShowCurrentAngles(AngleDisplay& display) {
    if (AngleMode == AnglePair::Observer)
        display.showAngles(ObserverElevation, ObserverAzimuth);
    else
        display.showAngles(SunElevation, SunAzimuth);
}

const Vertex& CornerAt(const std::vector<Vertex>& vertices, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= vertices.size())
        throw PlatformError("List index out of bounds");
    return vertices[static_cast<std::size_t>(index)];
}

}  // namespace

SceneFile::SceneFile(std::unique_ptr<std::istream> stream)
    : m_stream(std::move(stream)), m_reader(*m_stream) {}

BinaryReader& SceneFile::reader() {
    if (!m_stream)
        throw PlatformError("File not open");
    return m_reader;
}

SceneFile SceneFile::Open(const std::string& fileName) {
    return SceneFile(OpenBinaryInput(fileName));
}

float UpdatedPerspectiveDistance(float d, float diagonalSquared) {
    if (!(d < -kNearZero))
        return d;
    const double old = d;
    const double factor = 1.0 + CheckedDivide(0.25, old * old);
    return CheckedToFloat(-(100.0 / 99.0) * std::sqrt(factor * double(diagonalSquared)));
}

bool Read_Points(SceneLoad& load, AngleDisplay& display) {
    BinaryReader& in = load.file.reader();
    std::array<std::uint8_t, 3> header{};
    in.readBytes(header);  // any three bytes will do
    const std::int32_t count = in.readInt32();
    if (count == 0) {
        load.file.close();
        Show_Error("Invalid file!");
        return false;
    }
    BoundingBox box;
    load.vertices.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        const Vertex v = ReadVertex(in);
        WidenChecked(box, v);
        load.vertices.push_back(v);
    }
    bool ok = true;
    const float d = UpdatedPerspectiveDistance(PerspectiveDistance, DiagonalSquared(box));
    if (std::fabs(double(d)) < kNearZero) {
        // The distance of before stays, so one degenerate file does not refuse every later load.
        ok = false;
        load.file.close();
        Show_Error("Division by zero!");
        load.vertices.clear();
    } else {
        PerspectiveDistance = d;
    }
    ResetViewAngles();
    ShowCurrentAngles(display);
    return ok;
}

bool Read_Triangles(SceneLoad& load) {
    BinaryReader& in = load.file.reader();
    const std::int32_t count = in.readInt32();
    if (count == 0) {
        load.file.close();
        Show_Error("Invalid file!");
        load.vertices.clear();
        return false;
    }
    ClearScene();
    for (std::int32_t i = 0; i < count; ++i) {
        const Triangle t = ReadTriangle(in);
        SceneTriangle s;
        s.corner1 = CornerAt(load.vertices, t.a);
        s.corner2 = CornerAt(load.vertices, t.b);
        s.corner3 = CornerAt(load.vertices, t.c);
        s.colour = t.colour;
        TriangleList.push_back(s);
    }
    load.vertices.clear();
    load.vertices.shrink_to_fit();
    load.file.close();
    return true;
}

}  // namespace quarn
