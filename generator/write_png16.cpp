#include "write_png16.h"

#include "grey16_image.h"
#include "heightmap16.h"
#include "terrain_file.h"

namespace quarn {

bool Write_PNG16(const GridSetup& setup, const ClassifiedRaster& raster,
                 const std::string& fileName) {
    return WriteTerrainFile(
        setup, raster, fileName, [&setup](BinaryWriter& out, const TerrainMesh& mesh) {
            const Heightmap16 map = MakeHeightmap16(mesh, setup.MapExtent);
            out.writeBytes(EncodeGrey16Png(
                {map.cols, map.rows, map.samples, kHeightRangeKey, HeightRangeText(map.range)}));
            LastHeightRange = map.range;
        });
}

}  // namespace quarn
