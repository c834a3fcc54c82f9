#include "terrain_file.h"

#include <algorithm>
#include <string_view>

#include "atomic_file.h"
#include "busy_cursor.h"
#include "map_unit_height.h"
#include "message_box.h"
#include "simplified_terrain.h"

namespace quarn {

namespace {

// Where the samples lie: each the area of its cell on the map, placed as the map is on Earth,
// otherwise in map units from the map's top-left corner; a coordinate system named for the
// map first.
Georeference SamplePlace(const GridSetup& setup, const ExportOptions& options) {
    Georeference map = options.mapPlace.value_or(
        MapUnitsFromTopLeft(setup.Mapwidth, setup.Mapheight, setup.ImageWidth, setup.ImageHeight));
    if (!options.coordinateSystem.empty())
        map.wkt = options.coordinateSystem;
    return CellGrid(map, setup.CellSize);
}

// The heights in map units, one per sample.
ElevationGrid GridOf(const TerrainMesh& mesh, const GridSetup& setup,
                     const ExportOptions& options) {
    ElevationGrid grid{mesh.cols, mesh.rows, {}, SamplePlace(setup, options)};
    grid.heights.reserve(mesh.vertices.size());
    for (const SampledVertex& v : mesh.vertices)
        grid.heights.push_back(MapUnitHeight(v.h, setup.MapExtent));
    return grid;
}

std::string GridSummary(const ElevationGrid& grid, const HeightRange& range) {
    return std::to_string(grid.cols) + " x " + std::to_string(grid.rows) + " samples, heights " +
           HeightRangeText(range);
}

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
        true, {}, static_cast<std::int32_t>(mesh.vertices.size()), mesh.triangleCount(), {}, {}};
    if (format.writeHeightmap) {
        const Heightmap16 map = MakeHeightmap16(mesh, setup.MapExtent);
        const std::optional<Georeference> place =
            options.mapPlace ? std::optional(SamplePlace(setup, options)) : std::nullopt;
        const std::string sideFile = SideFileName(fileName, format).value_or("");
        format.writeHeightmap(out, {map, place, fileName, sideFile});
        written.heightRange = map.range;
        written.samplesSummary = HeightmapSummary(map.cols, map.rows, map.range);
    } else if (format.writeGrid) {
        const ElevationGrid grid = GridOf(mesh, setup, options);
        format.writeGrid(out, grid);
        const auto [low, high] = std::minmax_element(grid.heights.begin(), grid.heights.end());
        written.heightRange = HeightRange{*low, *high};
        written.samplesSummary = GridSummary(grid, *written.heightRange);
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
