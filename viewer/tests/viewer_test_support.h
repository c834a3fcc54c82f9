// Building 3DF byte streams and a fresh viewer state for the viewer's tests.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "projection.h"
#include "scene_reader.h"
#include "tdf_format.h"
#include "viewer_state.h"

namespace quarn::testing {

/// A 3DF byte stream with these counts and records (counts may disagree with the records).
std::string TdfBytes(std::int32_t vertexCount, const std::vector<Vertex>& vertices,
                     std::int32_t triangleCount, const std::vector<Triangle>& triangles);
/// The same with counts that match the records.
std::string TdfBytes(const std::vector<Vertex>& vertices, const std::vector<Triangle>& triangles);

/// A projected scene of these view-space triangles, each with corners of its own.
ProjectedScene Projected(const std::vector<ProjectedTriangle>& triangles);

/// A scene file reading bytes from memory.
SceneFile MemoryScene(const std::string& bytes);

/// Every program-wide setting of the viewer back to its start value.
void ResetViewerState();

/// Records the angle pairs it is asked to show.
class RecordingDisplay : public AngleDisplay {
  public:
    void showAngles(int elevation, int azimuth) override { shown.push_back({elevation, azimuth}); }
    std::vector<std::pair<int, int>> shown;
};

}  // namespace quarn::testing
