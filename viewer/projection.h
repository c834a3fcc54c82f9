// Turning the scene into view space and fitting it to the picture.
//
// View space: x' to the right of the picture, z' up, y' the depth (kept for the lighting,
// not used for the position: a parallel projection). ProjectScene rotates every vertex by
// the observer's azimuth and elevation (on all cores; each vertex once, as each of its corners
// would be), places the sun (10 units from the origin) in the same space, and builds the
// window mapping from the rotated extent scaled into -1..1 to the picture's pixels, each axis
// stretched to fill the picture. An extent whose reach m is below 1e-9 cannot be fitted. An
// extent flat along one axis (say, a level terrain seen at elevation 0) puts that axis's
// single value in the middle of the picture. Options keep the scene's proportions, or view
// it in perspective from an eye in front of the middle of the scene's depth, as the viewer's
// options ask.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "scene.h"
#include "vec3.h"
#include "window_mapping.h"

namespace quarn {

struct ProjectedTriangle {
    Vec3 corner1, corner2, corner3;
    std::int32_t colour = 0;
};

/// The view settings a projection depends on.
struct ViewAngles {
    std::uint16_t observerElevation = kDefaultObserverElevation;
    std::uint16_t observerAzimuth = kDefaultObserverAzimuth;
    std::uint16_t sunElevation = kDefaultSunElevation;
    std::uint16_t sunAzimuth = kDefaultSunAzimuth;
};

/// The viewer's options, all off at start: each pixel shows the surface nearest the observer
/// (instead of the last triangle drawn over it); one scale for both picture axes with the
/// scene centred (instead of stretched to fill each); nearer parts drawn larger, seen from the
/// magnitude of the perspective distance (instead of a parallel projection).
struct ViewOptions {
    bool hiddenSurfaces = false;
    bool keepProportions = false;
    bool perspective = false;
};

/// How a projection departs from the parallel one stretched to fill the picture.
struct ProjectionOptions {
    /// One scale for both picture axes, the larger of the two so that the scene fits, the
    /// scene centred.
    bool keepProportions = false;
    /// Above 0: nearer parts larger, x' and z' divided by (1 - (y' - c) / eyeDistance) after
    /// the rotation, before the extent is measured, c the middle of the scene's y' range.
    float eyeDistance = 0;
};

/// View-space positions of a scene's vertices, one array per coordinate.
struct ViewVertices {
    std::vector<float> x, y, z;
};

/// A scene in view space, ready to be drawn into a picture of the size it was fitted to.
struct ProjectedScene {
    ViewVertices vertices;                                   // the scene's vertices, rotated
    std::shared_ptr<const std::vector<Triangle>> triangles;  // the scene's, in its order
    Vec3 rotatedSun;
    WindowMapping mapping;  // view-space x' and z' (times the zoom) to pixels

    std::size_t size() const { return triangles ? triangles->size() : 0; }
    /// The triangles' vertex indices and colour codes, in scene order.
    std::span<const Triangle> indexed() const {
        return triangles ? std::span<const Triangle>(*triangles) : std::span<const Triangle>();
    }
    /// The i-th triangle's view-space corners and colour code.
    ProjectedTriangle triangle(std::size_t i) const;
};

/// The view rotation for an elevation and an azimuth in whole degrees.
Mat3 ViewMatrixFor(std::uint16_t elevation, std::uint16_t azimuth);
/// The sun's world position for its elevation and azimuth in whole degrees.
Vec3 SunPosition(std::uint16_t elevation, std::uint16_t azimuth);
/// The sun's position in the view space of these angles.
Vec3 RotatedSunFor(const ViewAngles& angles);

/// Projects scene for a picture of width x height pixels drawn at zoom; nothing when its
/// extent has no reach. Under perspective a vertex at or behind the eye raises "Floating
/// point division by zero".
std::optional<ProjectedScene> ProjectScene(const Scene& scene, const ViewAngles& angles, float zoom,
                                           std::int32_t width, std::int32_t height,
                                           const ProjectionOptions& options = {});
/// The same for triangles given with their corners.
std::optional<ProjectedScene> ProjectScene(std::span<const SceneTriangle> scene,
                                           const ViewAngles& angles, float zoom, std::int32_t width,
                                           std::int32_t height);

/// Keeps the memory of a projection that has been drawn for the next projection.
void KeepForReuse(ProjectedScene&& drawn);

/// The projection options of view, the eye at the magnitude of perspectiveDistance while that
/// is above 1e-9.
ProjectionOptions ProjectionOptionsFor(const ViewOptions& view, float perspectiveDistance);

}  // namespace quarn
