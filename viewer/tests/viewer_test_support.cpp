#include "viewer_test_support.h"

#include "window_mapping.h"

namespace quarn::testing {

std::string TdfBytes(std::int32_t vertexCount, const std::vector<Vertex>& vertices,
                     std::int32_t triangleCount, const std::vector<Triangle>& triangles) {
    MemorySink sink;
    BinaryWriter out(sink);
    WriteTdfHeader(out);
    out.writeInt32(vertexCount);
    for (const Vertex& v : vertices)
        WriteVertex(out, v);
    out.writeInt32(triangleCount);
    for (const Triangle& t : triangles)
        WriteTriangle(out, t);
    return std::string(sink.bytes().begin(), sink.bytes().end());
}

std::string TdfBytes(const std::vector<Vertex>& vertices, const std::vector<Triangle>& triangles) {
    return TdfBytes(static_cast<std::int32_t>(vertices.size()), vertices,
                    static_cast<std::int32_t>(triangles.size()), triangles);
}

ProjectedScene Projected(const std::vector<ProjectedTriangle>& triangles) {
    ProjectedScene projected;
    auto indexed = std::make_shared<std::vector<Triangle>>();
    for (const ProjectedTriangle& t : triangles) {
        const auto first = static_cast<std::int32_t>(projected.vertices.x.size());
        for (const Vec3& corner : {t.corner1, t.corner2, t.corner3}) {
            projected.vertices.x.push_back(corner.x);
            projected.vertices.y.push_back(corner.y);
            projected.vertices.z.push_back(corner.z);
        }
        indexed->push_back({first, first + 1, first + 2, t.colour});
    }
    projected.triangles = std::move(indexed);
    return projected;
}

SceneFile MemoryScene(const std::string& bytes) {
    return SceneFile(std::make_unique<std::istringstream>(bytes));
}

void ResetViewerState() {
    TriangleList.clear();
    ResetViewAngles();
    AngleMode = AnglePair::Observer;
    PerspectiveDistance = kStartPerspectiveDistance;
    ZoomFactor = kStartZoomFactor;
    ShadedMode = true;
    SceneFileName.clear();
    RenderWindowOpen = false;
    ProjectedList = {};
    RotatedSun = {};
    g_WindowMapping = {};
}

}  // namespace quarn::testing
