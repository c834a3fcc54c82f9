// The viewer's scene and its program-wide view settings.
//
// TriangleList holds the triangles of the last 3DF file read, in file order, each with copies
// of its three corners (world units: x across the map, y along it, z up) and its colour code
// (the hue in degrees; 32767 means grey). It outlives the viewer window. The angles are whole
// degrees; the perspective distance is updated by every load and never reset.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tdf_format.h"

namespace quarn {

struct SceneTriangle {
    Vertex corner1, corner2, corner3;
    std::int32_t colour = 0;
};

extern std::vector<SceneTriangle> TriangleList;

/// Empties TriangleList and gives its memory back, so a small scene after a huge one does
/// not keep the huge one's allocation.
void ClearScene();

inline constexpr std::uint16_t kDefaultObserverElevation = 20;
inline constexpr std::uint16_t kDefaultObserverAzimuth = 60;
inline constexpr std::uint16_t kDefaultSunElevation = 90;
inline constexpr std::uint16_t kDefaultSunAzimuth = 180;

extern std::uint16_t ObserverElevation;
extern std::uint16_t ObserverAzimuth;
extern std::uint16_t SunElevation;
extern std::uint16_t SunAzimuth;

/// The pairs of angles the viewer's spin buttons can edit, named as its radio buttons.
enum class AnglePair { Observer, Sun };
/// Which pair the spin buttons edit now.
extern AnglePair AngleMode;

/// Negative in every run so far: -3.0 at start, then about -1.01 times the scene's diagonal.
extern float PerspectiveDistance;
/// Magnification of the drawing about the pixel the origin falls on; 0.751 at start.
extern float ZoomFactor;
/// True: flat-shaded triangles; false: white wire frame.
extern bool ShadedMode;

/// The 3DF file shown in the viewer; empty while there is no picture to save.
extern std::string SceneFileName;
/// The viewer window exists.
extern bool RenderWindowOpen;

/// Sets the four angles to 20, 60, 90, 180.
void ResetViewAngles();
/// ZoomFactor after one "+" (times 1.1) or one "-" (times 10/11).
float ZoomedIn(float zoom);
float ZoomedOut(float zoom);
/// A spin position after a step: 360 becomes 0 and -1 becomes 355, so angles run 0..355.
int WrappedSpinPosition(int position);

}  // namespace quarn
