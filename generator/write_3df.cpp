#include "write_3df.h"

#include "tdf_format.h"
#include "terrain_file.h"

namespace quarn {

void Format3DF(BinaryWriter& out, const TerrainMesh& mesh) {
    WriteTdfHeader(out);
    out.writeInt32(mesh.cols * mesh.rows);
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k)
        WriteVertex(out, mesh.fileVertex(k));
    out.writeInt32(mesh.triangleCount());
    ForEachTriangle(mesh, [&](const Triangle& t) { WriteTriangle(out, t); });
}

bool Write_3DF(const GridSetup& setup, const ClassifiedRaster& raster,
               const std::string& fileName) {
    return WriteTerrainFile(setup, raster, fileName, Format3DF);
}

}  // namespace quarn
