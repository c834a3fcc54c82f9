// The OBJ writer: the terrain in map units for Blender, MeshLab and most mesh tools, with a
// material library (NAME.mtl beside NAME.obj) that colours each height class.
#pragma once

#include <string>

#include "binary_io.h"
#include "grid_setup.h"
#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

/// The material library's name beside the OBJ file fileName: its extension becomes ".mtl".
std::string MaterialLibraryName(const std::string& fileName);

/// Writes the four class materials as an MTL file.
void FormatMTL(BinaryWriter& out);

/// Writes mesh as OBJ text that refers to the material library libraryName.
void FormatOBJ(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent,
               const std::string& libraryName);

/// Writes fileName as OBJ and its material library beside it; false when refused.
bool Write_OBJ(const GridSetup& setup, const ClassifiedRaster& raster, const std::string& fileName);

}  // namespace quarn
