#include "terrain_file.h"

#include <algorithm>
#include <string_view>

#include "atomic_file.h"
#include "busy_cursor.h"
#include "message_box.h"
#include "simplified_terrain.h"

namespace quarn {

namespace {

const OutputFormat& Named(std::string_view extension) {
    const auto formats = OutputFormats();
    return *std::find_if(formats.begin(), formats.end(),
                         [&](const OutputFormat& format) { return format.extension == extension; });
}

}  // namespace

WrittenFile WriteTerrainFile(const GridSetup& setup, const ClassifiedRaster& raster,
                             const std::string& fileName, const OutputFormat& format,
                             const ExportOptions& options) {
    const auto levels = NormaliseLevels(setup);
    if (!levels) {
        ShowErrorBox(kNoHeightText);
        return {};
    }
    const BusyCursor busy;
    AtomicFile file(fileName);
    TerrainMesh mesh = SampleTerrain(setup, *levels, raster);
    BinaryWriter out(file);
    WrittenFile written{
        true, {}, static_cast<std::int32_t>(mesh.vertices.size()), mesh.triangleCount(), {}};
    if (format.writeHeightmap) {
        const Heightmap16 map = MakeHeightmap16(mesh, setup.MapExtent);
        format.writeHeightmap(out, map);
        written.heightRange = map.range;
    } else {
        if (options.simplifies()) {
            SimplifiedTerrain simplified =
                SimplifyTerrain(mesh, options.maxError, options.maxTriangles, setup.MapExtent);
            mesh = std::move(simplified.mesh);
            written.vertexCount = static_cast<std::int32_t>(mesh.vertices.size());
            written.triangleCount = mesh.triangleCount();
            written.largestError = simplified.largestError;
        }
        const std::string sideFile = SideFileName(fileName, format).value_or("");
        format.writeMesh(out, {mesh, setup.MapExtent, options, sideFile});
    }
    file.commit();
    return written;
}

bool Write_3DF(const GridSetup& setup, const ClassifiedRaster& raster,
               const std::string& fileName) {
    return WriteTerrainFile(setup, raster, fileName, Named("3df")).written;
}

bool Write_ASC(const GridSetup& setup, const ClassifiedRaster& raster,
               const std::string& fileName) {
    return WriteTerrainFile(setup, raster, fileName, Named("asc")).written;
}

bool Write_RAW(const GridSetup& setup, const ClassifiedRaster& raster,
               const std::string& fileName) {
    return WriteTerrainFile(setup, raster, fileName, Named("raw")).written;
}

bool Write_PLG(const GridSetup& setup, const ClassifiedRaster& raster,
               const std::string& fileName) {
    return WriteTerrainFile(setup, raster, fileName, Named("plg")).written;
}

}  // namespace quarn
