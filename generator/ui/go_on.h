// The generate command of the main window, run by its menu item and the panel's button.
//
// Reads the generator panel's fields and output choice and the map window's picture, takes
// the swatch colours from the Palette, and runs the shared generate command on them with the
// surface and mesh detail it is given (the main window's Options menu chooses them); a map window
// without a picture (its load failed) counts as no map loaded. Platform errors are not caught here:
// they reach the window's guarded handler.
#pragma once

#include <optional>
#include <string>

#include "export_options.h"
#include "generate_terrain.h"

namespace quarn {

/// Generates a terrain file of surface from the panel and the loaded map, its mesh simplified
/// within maxError map units where one is given.
GenerateResult GoOn(Surface surface, std::optional<double> maxError = std::nullopt,
                    PrintColours printColours = PrintColours::Classes);

/// What result wrote, as "island.3df: 4800 vertices, 9322 triangles" (and the largest error of
/// a simplified mesh).
std::string GenerateSummary(const GenerateResult& result);

}  // namespace quarn
