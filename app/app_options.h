// The settings of the main window's Options menu, all off at start: the surface and mesh
// detail the generate command makes, and the view options every rendering of the viewer uses. The
// main window owns them and hands them to the commands and the viewer window.
#pragma once

#include <optional>

#include "export_options.h"
#include "projection.h"

namespace quarn {

struct AppOptions {
    bool smoothTerrain = false;      // the smooth surface instead of the terraced one
    std::optional<double> maxError;  // Mesh detail: none for the full grid
    bool printBandColours = false;   // 3MF prints in the map's band colours
    ViewOptions view;

    /// The surface the generate command makes.
    Surface surface() const { return smoothTerrain ? Surface::Smooth : Surface::Terraced; }
};

}  // namespace quarn
