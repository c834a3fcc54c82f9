#include "scene_load.h"

#include "draw.h"
#include "projection.h"

namespace quarn {

bool LoadScene(SceneFile file, AngleDisplay& display) {
    // The load owns the file: it is released however the reading ends, faults included.
    SceneLoad load(std::move(file));
    return Read_Points(load, display) && Read_Triangles(load);
}

bool ProjectClearDraw(Canvas& canvas, std::int32_t width, std::int32_t height) {
    if (!Project_Scene(width, height))
        return false;
    ClearPicture(canvas, width, height);
    Draw_and_View(canvas);
    return true;
}

}  // namespace quarn
