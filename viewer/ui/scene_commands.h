// The main window's two viewer commands: open a 3DF file (or an elevation raster) into the
// viewer and draw it, and save the viewer's picture as a 24-bit BMP.
#pragma once

#include "elevation_mesh.h"
#include "projection.h"

namespace quarn {

struct WindowPosition {
    int left = 0, top = 0;
};

/// Where the viewer window goes on a screen of this size: centred, 25 pixels higher.
WindowPosition ViewerPosition(int screenWidth, int screenHeight);

/// "Open 3DF file...": creates or reuses frmRender, hands it options, loads, projects, clears
/// and draws, under the busy cursor. An elevation raster chosen instead is coloured by levels
/// (the panel's), and a reduced reading is named in the window's title.
void OpenSceneFile(const ViewOptions& options, const ElevationLevels& levels = {});
/// "Save 3D picture as...": "No picture to save!" while no scene file is set.
void SaveScenePicture();

}  // namespace quarn
