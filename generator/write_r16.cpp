#include "write_r16.h"

#include <cstdint>
#include <vector>

#include "heightmap16.h"
#include "terrain_file.h"

namespace quarn {

bool Write_R16(const GridSetup& setup, const ClassifiedRaster& raster,
               const std::string& fileName) {
    return WriteTerrainFile(setup, raster, fileName,
                            [&setup](BinaryWriter& out, const TerrainMesh& mesh) {
                                const Heightmap16 map = MakeHeightmap16(mesh, setup.MapExtent);
                                std::vector<std::uint8_t> bytes;
                                bytes.reserve(2 * map.samples.size());
                                for (const std::uint16_t sample : map.samples) {
                                    bytes.push_back(static_cast<std::uint8_t>(sample & 0xFF));
                                    bytes.push_back(static_cast<std::uint8_t>(sample >> 8));
                                }
                                out.writeBytes(bytes);
                                LastHeightRange = map.range;
                            });
}

}  // namespace quarn
