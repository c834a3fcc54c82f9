// The generate command of the main window, run by its menu item and the panel's button.
//
// Reads the generator panel's fields and output choice and the map window's picture, takes
// the swatch colours from the Palette, and runs the shared generate command on them with the
// surface it is given (the main window's Options menu chooses it); a map window without a
// picture (its load failed) counts as no map loaded. Platform errors are not caught here: they
// reach the window's guarded handler.
#pragma once

#include <string>

#include "export_options.h"
#include "generate_terrain.h"

namespace quarn {

/// Generates a terrain file of surface from the panel and the loaded map.
GenerateResult GoOn(Surface surface);

/// What result wrote, as "island.3df: 4800 vertices, 9322 triangles".
std::string GenerateSummary(const GenerateResult& result);

}  // namespace quarn
