// From the panel's texts and the loaded map to one terrain file: the core of the generate
// command, on values only. The window's command and the command line's both reach it through
// RunGenerateCommand (generate_command.h), which binds it to the program-wide names.
//
// In order, each refusal an error box that ends the run: an output that is the map, or whose
// side file (the OBJ's material library) is the map, under any name (the same file through a
// link or another spelling); the grid's refusals (MakeGrid); an output whose extension names no
// format (output_formats.h); no height set. Then, under the busy cursor until the file is
// complete, it classifies the map (once, and only now: a large map takes a while), samples the
// grid and writes the file in its format. Platform errors propagate.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "export_options.h"
#include "grid_setup.h"
#include "heightmap16.h"
#include "map_raster.h"

namespace quarn {

inline constexpr const char* kInvalidExtensionText = "Invalid file extension!";

/// The loaded map: its size in pixels, and how to classify its pixels by the swatch colours.
/// GenerateTerrain calls classify once, and only when it is to write a file: classifying a large
/// map takes a while, and the command line lets the picture go once it is classified.
struct LoadedMap {
    std::int32_t width = 0, height = 0;
    std::function<ClassifiedRaster()> classify;
};

/// A map whose classes are raster as it stands.
LoadedMap ClassifiedMap(const ClassifiedRaster& raster);

struct GenerateRequest {
    GeneratorFields fields;  // the panel's texts
    LoadedMap map;
    std::string outputFile;  // the file to write; its extension chooses the format
    std::string mapFile;     // the map's own file, never written over
    ExportOptions options;   // the surface, and the printed solid's size
};

struct GenerateResult {
    bool written = false;
    std::string fileName;           // the file written (empty when none was)
    std::optional<GridSetup> grid;  // set up once the fields gave a grid, written or not
    std::int32_t vertexCount = 0;   // in the file written (the full grid's, unless simplified)
    std::int32_t triangleCount = 0;
    std::optional<HeightRange> heightRange;     // heightmaps: at samples 0 and 65535; GeoTIFF: all
    std::optional<std::string> samplesSummary;  // for both: the grid's size and that range
    std::optional<std::string> colourChanges;   // a terraced print's colour-change heights
    std::optional<double> largestError;         // of a simplified mesh, in map units at the samples
};

/// Runs the request's checks and writes its file.
GenerateResult GenerateTerrain(const GenerateRequest& request);

}  // namespace quarn
