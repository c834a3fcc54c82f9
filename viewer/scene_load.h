// Opening a 3DF file once it is open: the two reading steps as one, shared by the window's
// command and the command line.
#pragma once

#include "scene_reader.h"

namespace quarn {

/// Read_Points then Read_Triangles; false after a refusal (already shown). The file is
/// released however the reading ends, faults included.
bool LoadScene(SceneFile file, AngleDisplay& display);

}  // namespace quarn
