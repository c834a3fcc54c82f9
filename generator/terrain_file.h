// Writing one terrain file in one output format, the common frame of every writer; and the
// panel's four formats by name.
//
// Refuses with "Must set at least one height!" when no height is set (nothing is created);
// otherwise shows the busy cursor, creates the file beside its target, samples the terrain,
// lets the format write it (a heightmap format the heightmap of it) and renames it into place.
// A platform failure on the way removes the unfinished file, leaves an earlier file of that name
// as it was and propagates.
#pragma once

#include <optional>
#include <string>

#include "export_options.h"
#include "grid_setup.h"
#include "heightmap16.h"
#include "map_raster.h"
#include "output_formats.h"

namespace quarn {

/// What writing a terrain file gives back.
struct WrittenFile {
    bool written = false;                             // false when refused: no height set
    std::optional<HeightRange> heightRange;           // the heightmap and elevation formats' range
    std::int32_t vertexCount = 0, triangleCount = 0;  // in the file
    std::optional<double> largestError;         // of a simplified mesh, in map units at the samples
    std::optional<std::string> samplesSummary;  // the heightmaps' and elevation grid's: the
                                                // grid's size and the height range
    std::optional<std::string> colourChanges;   // a terraced print's (ColourChangesText)
};

/// Writes fileName in format from the grid set-up and the classified map.
WrittenFile WriteTerrainFile(const GridSetup& setup, const ClassifiedRaster& raster,
                             const std::string& fileName, const OutputFormat& format,
                             const ExportOptions& options = {});

/// Writes fileName as 3DF, ASC, RAW or PLG whatever its extension; false when refused.
bool Write_3DF(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);
bool Write_ASC(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);
bool Write_RAW(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);
bool Write_PLG(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);

}  // namespace quarn
