// The generate command on plain data, shared by the window and the command line.
//
// Checks that a map is loaded and the six level and size fields are filled, asks for the
// output file, sets up the grid and hands over to the writer that the file's extension
// names (".3DF", ".RAW", ".ASC", ".PLG" and the export formats ".STL", ".OBJ", ".PLY", ".GLB",
// ".PNG", ".R16"; the extension upper-cased and cut to four characters). Each refusal is an
// error box that ends the command; platform errors propagate.
#pragma once

#include <string>

#include "export_options.h"
#include "file_dialog.h"
#include "grid_setup.h"
#include "map_raster.h"

namespace quarn {

/// The file chosen in the last generate dialog.
extern std::string OutputFileName;

inline constexpr const char* kNoMapText = "No map loaded!";
inline constexpr const char* kValuesNotSetText = "One or more important values not set!";
inline constexpr const char* kInvalidExtensionText = "Invalid file extension!";

/// The save dialog for the selected output item ("3DF", "ASC", "RAW", "PLG").
FileDialogRequest GenerateDialogRequest(const std::string& outputChoice);

/// Runs the command; map is the loaded image classified by the swatch colours (ignored when
/// no map is loaded). True when a file was written.
bool RunGenerate(const GeneratorFields& fields, bool mapLoaded, const ClassifiedRaster& map,
                 const ExportOptions& options = {});

}  // namespace quarn
