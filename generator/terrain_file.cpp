#include "terrain_file.h"

#include "atomic_file.h"
#include "busy_cursor.h"
#include "message_box.h"

namespace quarn {

bool WriteTerrainFile(const GridSetup& setup, const ClassifiedRaster& raster,
                      const std::string& fileName, const TerrainFormatter& format) {
    const auto levels = NormaliseLevels(setup);
    if (!levels) {
        ShowErrorBox(kNoHeightText);
        return false;
    }
    const BusyCursor busy;
    AtomicFile file(fileName);
    const TerrainMesh mesh = SampleTerrain(setup, *levels, raster);
    BinaryWriter out(file);
    format(out, mesh);
    file.commit();
    return true;
}

}  // namespace quarn
