// Writing one terrain file in some format, the common frame of every writer.
//
// Refuses with "Must set at least one height!" when no height is set (nothing is created);
// otherwise shows the busy cursor, creates the file beside its target, samples the terrain,
// lets the format write it and renames it into place. A platform failure on the way removes
// the unfinished file, leaves an earlier file of that name as it was and propagates.
#pragma once

#include <functional>
#include <string>

#include "binary_io.h"
#include "grid_setup.h"
#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes a whole mesh in one format.
using TerrainFormatter = std::function<void(BinaryWriter& out, const TerrainMesh& mesh)>;

/// The frame above around one formatter; false when refused (no height set).
bool WriteTerrainFile(const GridSetup& setup, const ClassifiedRaster& raster,
                      const std::string& fileName, const TerrainFormatter& format);

}  // namespace quarn
