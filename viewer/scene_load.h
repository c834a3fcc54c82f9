// The steps of opening a 3DF file once it is open: read the scene, then project, clear and
// draw it. The window's command and the command line share them.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "scene_reader.h"

namespace quarn {

/// Read_Points then Read_Triangles; false after a refusal (already shown).
bool LoadScene(SceneFile file, AngleDisplay& display);

/// Project_Scene, clearing to black, Draw_and_View; false when the projection refused.
bool ProjectClearDraw(Canvas& canvas, std::int32_t width, std::int32_t height);

}  // namespace quarn
