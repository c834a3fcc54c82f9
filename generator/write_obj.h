// The OBJ writer: the terrain in map units for Blender, MeshLab and most mesh tools, with a
// material library (NAME.mtl beside NAME.obj) that colours each height class. Y is up, as those
// tools read an OBJ: x east, y the height, z south. The faces of each class come together,
// under one material switch.
#pragma once

#include <string>

#include "binary_io.h"
#include "terrain_sampler.h"

namespace quarn {

/// Writes the four class materials as an MTL file.
void FormatMTL(BinaryWriter& out);

/// Writes mesh as OBJ text that refers to the material library libraryName.
void FormatOBJ(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent,
               const std::string& libraryName);

/// Writes mesh as OBJ into out, and its material library, complete, as the file libraryFile
/// beside it: the library's text never changes, so completing it before the OBJ cannot pair an
/// earlier OBJ with materials it does not know.
void WriteOBJWithLibrary(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent,
                         const std::string& libraryFile);

}  // namespace quarn
