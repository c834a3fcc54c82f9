// Turning the scene into view space and fitting it to the picture.
//
// View space: x' to the right of the picture, z' up, y' the depth (kept for the lighting,
// not used for the position: a parallel projection). Project_Scene rotates every corner by
// the observer's azimuth and elevation, places the sun (10 units from the origin) in the
// same space, and sets the window mapping from the rotated extent scaled into -1..1 to the
// picture's pixels. An extent whose reach m is below 1e-9 is refused with "Division by
// zero!" and empties the scene. An extent flat along one axis (say, a level terrain seen at
// elevation 0) puts that axis's single value in the middle of the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "vec3.h"

namespace quarn {

struct ProjectedTriangle {
    Vec3 corner1, corner2, corner3;
    std::int32_t colour = 0;
};

/// The projected scene waiting to be drawn; present only between a successful
/// Project_Scene and the drawing that consumes it.
struct ProjectedScene {
    bool present = false;
    std::vector<ProjectedTriangle> triangles;  // capacity kept from one redraw to the next
};

extern ProjectedScene ProjectedList;
/// The sun's position in view space, as of the last projection.
extern Vec3 RotatedSun;

/// The view rotation for an elevation and an azimuth in whole degrees.
Mat3 ViewMatrixFor(std::uint16_t elevation, std::uint16_t azimuth);
/// The sun's world position for its elevation and azimuth in whole degrees.
Vec3 SunPosition(std::uint16_t elevation, std::uint16_t azimuth);

/// Projects TriangleList for a picture of width x height pixels; false after "Division by zero!".
bool Project_Scene(std::int32_t width, std::int32_t height);

}  // namespace quarn
