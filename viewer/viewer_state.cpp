#include "viewer_state.h"

#include <utility>

#include "draw.h"
#include "show_error.h"
#include "window_mapping.h"

namespace quarn {

Scene TriangleList;
std::uint16_t ObserverElevation = kDefaultObserverElevation;
std::uint16_t ObserverAzimuth = kDefaultObserverAzimuth;
std::uint16_t SunElevation = kDefaultSunElevation;
std::uint16_t SunAzimuth = kDefaultSunAzimuth;
AnglePair AngleMode = AnglePair::Observer;
float PerspectiveDistance = kStartPerspectiveDistance;
float ZoomFactor = kStartZoomFactor;
bool ShadedMode = true;
std::string SceneFileName;
bool RenderWindowOpen = false;
std::optional<ProjectedScene> ProjectedList;
Vec3 RotatedSun;

namespace {

void ShowCurrentAngles(AngleDisplay& display) {
    if (AngleMode == AnglePair::Observer)
        display.showAngles(ObserverElevation, ObserverAzimuth);
    else
        display.showAngles(SunElevation, SunAzimuth);
}

}  // namespace

void ClearScene() {
    TriangleList = Scene();
}

void ResetViewAngles() {
    ObserverElevation = kDefaultObserverElevation;
    ObserverAzimuth = kDefaultObserverAzimuth;
    SunElevation = kDefaultSunElevation;
    SunAzimuth = kDefaultSunAzimuth;
}

ViewAngles CurrentViewAngles() {
    return {ObserverElevation, ObserverAzimuth, SunElevation, SunAzimuth};
}

bool Read_Points(SceneLoad& load, AngleDisplay& display) {
    std::optional<SceneVertices> read = ReadVertices(load.file);
    if (!read)
        return false;
    // A refused distance leaves the one before, so one degenerate file does not refuse every
    // later load.
    const std::optional<float> distance =
        PerspectiveDistanceAfterLoad(load.file, PerspectiveDistance, read->diagonalSquared);
    if (distance) {
        PerspectiveDistance = *distance;
        load.vertices = std::move(read->vertices);
    }
    ResetViewAngles();
    ShowCurrentAngles(display);
    return distance.has_value();
}

bool Read_Triangles(SceneLoad& load) {
    return ReadTriangles(load.file, std::exchange(load.vertices, {}), TriangleList);
}

bool LoadScene(SceneFile file, AngleDisplay& display) {
    SceneLoad load(std::move(file));
    return Read_Points(load, display) && Read_Triangles(load);
}

void TakeScene(LoadedScene loaded, AngleDisplay& display) {
    PerspectiveDistance = loaded.perspectiveDistance;
    TriangleList = std::move(loaded.scene);
    ResetViewAngles();
    ShowCurrentAngles(display);
}

bool Project_Scene(std::int32_t width, std::int32_t height, const ViewOptions& options) {
    const ViewAngles angles = CurrentViewAngles();
    ProjectedList.reset();
    RotatedSun = RotatedSunFor(angles);
    ProjectedList = ProjectScene(TriangleList, angles, ZoomFactor, width, height,
                                 ProjectionOptionsFor(options, PerspectiveDistance));
    if (!ProjectedList) {
        Show_Error(kDivisionByZeroText);
        ClearScene();
        return false;
    }
    g_WindowMapping = ProjectedList->mapping;
    return true;
}

void Draw_and_View(Canvas& canvas, const ViewOptions& options) {
    if (!ProjectedList)
        return;
    // Consumed even when a fault ends the drawing half-way.
    ProjectedScene projected = std::move(*ProjectedList);
    ProjectedList.reset();
    DrawProjected(projected, ZoomFactor, ShadedMode, canvas, options.hiddenSurfaces);
    KeepForReuse(std::move(projected));
}

bool ProjectClearDraw(Canvas& canvas, std::int32_t width, std::int32_t height,
                      const ViewOptions& options) {
    if (!Project_Scene(width, height, options))
        return false;
    ClearPicture(canvas, width, height);
    Draw_and_View(canvas, options);
    return true;
}

bool RenderScene(Canvas& canvas, std::int32_t width, std::int32_t height,
                 const ViewOptions& options) {
    const Colour savedColour = canvas.brushColour;
    const BrushStyle savedStyle = canvas.brushStyle;
    const bool ok = ProjectClearDraw(canvas, width, height, options);
    canvas.brushColour = savedColour;
    canvas.brushStyle = savedStyle;
    return ok;
}

bool RenderPreview(const Scene& preview, Canvas& canvas, std::int32_t width, std::int32_t height,
                   const ViewOptions& options) {
    std::optional<ProjectedScene> projected =
        ProjectScene(preview, CurrentViewAngles(), ZoomFactor, width, height,
                     ProjectionOptionsFor(options, PerspectiveDistance));
    if (!projected)
        return false;
    // A passing picture: the canvas is left as it was found, pen included, so that the
    // rendering after it is the one after the rendering before.
    const BrushStyle savedStyle = canvas.brushStyle;
    const Colour savedBrush = canvas.brushColour, savedPen = canvas.penColour;
    ClearPicture(canvas, width, height);
    DrawProjected(*projected, ZoomFactor, ShadedMode, canvas, options.hiddenSurfaces);
    KeepForReuse(std::move(*projected));
    canvas.brushStyle = savedStyle;
    canvas.brushColour = savedBrush;
    canvas.penColour = savedPen;
    return true;
}

}  // namespace quarn
