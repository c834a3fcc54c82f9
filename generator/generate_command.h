// The generate command on plain data, shared by the window and the command line.
//
// Checks that a map is loaded and the six level and size fields are filled, asks for the
// output file, sets up the grid, classifies the map and hands over to the writer that the
// file's extension names (".3DF", ".RAW", ".ASC", ".PLG" and the export formats ".STL",
// ".OBJ", ".PLY", ".GLB", ".PNG", ".R16"; the extension upper-cased and cut to four
// characters). An output that is the map, or that would have a side file (the OBJ's material
// library) that is the map, under any name (the same file through a link or another spelling),
// is refused. Each refusal is an error box that ends the command; platform errors propagate.
#pragma once

#include <cstdint>
#include <functional>
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

/// The loaded map as the command takes it: its size in pixels, and how to classify its pixels
/// by the swatch colours. Classifying a large map takes a moment, so the command does it only
/// once a file is to be written, under the busy cursor.
struct MapSource {
    std::int32_t width = 0, height = 0;
    std::function<ClassifiedRaster()> classify;
};

/// A source whose classes are raster as it stands.
MapSource ClassifiedSource(const ClassifiedRaster& raster);

/// Runs the command on map (ignored when no map is loaded). True when a file was written.
bool RunGenerate(const GeneratorFields& fields, bool mapLoaded, const MapSource& map,
                 const ExportOptions& options = {});

}  // namespace quarn
