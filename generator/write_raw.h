// The RAW triangle writer: one line of nine numbers per triangle, the x, y and z of its three
// corners in order, separated by single spaces. No header, no colour (no shading).
#pragma once

#include <string>

#include "binary_io.h"
#include "grid_setup.h"
#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes mesh as RAW triangles.
void FormatRAW(BinaryWriter& out, const TerrainMesh& mesh);

/// Writes fileName as RAW triangles; false when refused.
bool Write_RAW(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);

}  // namespace quarn
