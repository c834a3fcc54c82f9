// Elevation rasters opened as scenes: any single-band raster GDAL reads becomes the scene that
// the generator's 3DF of a map of the raster's extent, sampled once per cell, would load as.
#pragma once

#include <optional>
#include <string>

#include "elevation_mesh.h"
#include "scene_reader.h"

namespace quarn {

/// True when fileName's extension names an elevation raster: .tif, .tiff, .png, .asc or .dem,
/// in any case. Other names are read as 3DF files.
bool IsElevationRasterName(const std::string& fileName);

struct ElevationScene {
    LoadedScene loaded;
    std::string reading;  // how the raster was read: "8192 x 8192 cells read as 2048 x 2048"
};

/// The scene of the elevation raster fileName coloured by levels, the perspective distance
/// before being d; nothing after a refusal box.
std::optional<ElevationScene> ReadElevationScene(const std::string& fileName,
                                                 const ElevationLevels& levels, float d);

}  // namespace quarn
