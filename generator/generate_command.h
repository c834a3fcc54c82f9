// The generate command of the window and the command line: the one layer between the core,
// GenerateTerrain (generate_terrain.h), and the program-wide names.
//
// Checks that a map is loaded (a map given, and MapFileName set) and the six level and size
// fields are filled, asks for the output file in the save dialog (its filter from the output
// formats' table), remembers the answer as OutputFileName, runs GenerateTerrain on the fields,
// the map, OutputFileName and MapFileName, and keeps the grid it set up as g_GridSetup, its
// mapping published in g_WindowMapping as Set_Grid publishes it. Each refusal is an error box
// that ends the command; cancelling the dialog ends it silently; platform errors propagate.
#pragma once

#include <optional>
#include <string>

#include "export_options.h"
#include "file_dialog.h"
#include "generate_terrain.h"
#include "grid_setup.h"

namespace quarn {

/// The file chosen in the last generate dialog.
extern std::string OutputFileName;

inline constexpr const char* kNoMapText = "No map loaded!";
inline constexpr const char* kValuesNotSetText = "One or more important values not set!";

/// The save dialog for the panel's output choice ("3DF", "ASC", "RAW", "PLG").
FileDialogRequest GenerateDialogRequest(const std::string& outputChoice);

/// Runs the command on map (nothing: no map loaded).
GenerateResult RunGenerateCommand(const GeneratorFields& fields,
                                  const std::optional<LoadedMap>& map,
                                  const ExportOptions& options = {});

}  // namespace quarn
