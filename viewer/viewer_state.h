// The viewer's program-wide state, and the routines that bind it to the steps of the viewer's
// pipeline (ReadVertices and ReadTriangles, ProjectScene, DrawProjected), which take and give
// values.
//
// TriangleList holds the scene of the last 3DF file read; it outlives the viewer window. The
// angles are whole degrees; the perspective distance is updated by every load and never reset.
// The viewer's options are not kept here: whoever owns them hands them to each projection and
// drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "canvas.h"
#include "projection.h"
#include "scene.h"
#include "scene_reader.h"
#include "vec3.h"

namespace quarn {

extern Scene TriangleList;

/// Empties TriangleList and gives its memory back, so a small scene after a huge one does
/// not keep the huge one's allocation.
void ClearScene();

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

/// The projected scene waiting to be drawn: present only between a successful
/// Project_Scene and the drawing that consumes it.
extern std::optional<ProjectedScene> ProjectedList;
/// The sun's position in view space, as of the last projection.
extern Vec3 RotatedSun;

/// Sets the four angles to 20, 60, 90, 180.
void ResetViewAngles();
/// The program-wide angles as they stand.
ViewAngles CurrentViewAngles();

/// One load in progress: the file and the vertices read so far (the VertexList).
struct SceneLoad {
    explicit SceneLoad(SceneFile sceneFile) : file(std::move(sceneFile)) {}
    SceneFile file;
    std::vector<Vertex> vertices;
};

/// Where Read_Points shows the angle pair of AngleMode (the viewer's spin buttons).
class AngleDisplay {
  public:
    virtual ~AngleDisplay() = default;
    /// Shows the pair without running any handler.
    virtual void showAngles(int elevation, int azimuth) = 0;
};

/// Reads the header and the vertices, updates PerspectiveDistance from their box, then resets
/// the angles and shows the current pair; false after "Invalid file!" or "Division by zero!".
bool Read_Points(SceneLoad& load, AngleDisplay& display);
/// Reads the triangles into TriangleList and closes the file; false after "Invalid file!".
bool Read_Triangles(SceneLoad& load);
/// Read_Points then Read_Triangles; false after a refusal (already shown). The file is
/// released however the reading ends, faults included.
bool LoadScene(SceneFile file, AngleDisplay& display);

/// Takes a scene made in memory (an elevation raster's) as LoadScene takes a file's: into
/// TriangleList, with its perspective distance, the angles reset and the current pair shown.
void TakeScene(LoadedScene loaded, AngleDisplay& display);

/// Projects TriangleList with the program-wide settings and options, publishing the result in
/// ProjectedList, RotatedSun and g_WindowMapping; false after "Division by zero!", which
/// empties the scene.
bool Project_Scene(std::int32_t width, std::int32_t height, const ViewOptions& options = {});
/// Draws ProjectedList with ZoomFactor, ShadedMode and the options' hidden surfaces, then
/// discards it; draws nothing when the projection failed.
void Draw_and_View(Canvas& canvas, const ViewOptions& options);

/// Project_Scene, then (when it succeeded) clearing to black and Draw_and_View; returns the
/// projection's result.
bool ProjectClearDraw(Canvas& canvas, std::int32_t width, std::int32_t height,
                      const ViewOptions& options);
/// The rendering while the view moves: RenderScene's of preview (TriangleList reduced) with
/// the program-wide settings, leaving ProjectedList alone and the canvas's pen and brush as
/// they were; false, drawing nothing, where the projection fails.
bool RenderPreview(const Scene& preview, Canvas& canvas, std::int32_t width, std::int32_t height,
                   const ViewOptions& options = {});
/// The viewer's rendering: ProjectClearDraw with the brush coming back as it was (the pen
/// does not).
bool RenderScene(Canvas& canvas, std::int32_t width, std::int32_t height,
                 const ViewOptions& options = {});

}  // namespace quarn
