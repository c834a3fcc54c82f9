#include "terrain_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "atomic_file.h"
#include "band_parts.h"
#include "busy_cursor.h"
#include "map_unit_height.h"
#include "message_box.h"
#include "simplified_terrain.h"
#include "write_stl.h"

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

// The band of each vertex: that of the map pixel at the centre of its sample's cell.
std::vector<std::uint8_t> VertexBands(const TerrainMesh& mesh, const GridSetup& setup,
                                      const ClassifiedRaster& raster) {
    const std::int32_t cell = setup.CellSize;
    const auto bandOf = [&](std::int32_t k) {
        return raster.at(k % mesh.cols * cell + cell / 2, k / mesh.cols * cell + cell / 2);
    };
    std::vector<std::uint8_t> bands(mesh.vertices.size());
    for (std::size_t v = 0; v < bands.size(); ++v)
        bands[v] = bandOf(mesh.simplified() ? mesh.samples[v] : static_cast<std::int32_t>(v));
    return bands;
}

// NAME-01.stl, NAME-02.stl, ... from the lowest band's part up, and the colour changes in
// NAME-colours.txt, each written whole or not at all.
void WriteBandPartFiles(const std::string& fileName, const std::vector<BandPart>& parts,
                        const std::vector<ColourChange>& changes) {
    const std::filesystem::path path(fileName);
    const auto beside = [&](const std::string& suffix) {
        return (path.parent_path() / (path.stem().string() + suffix)).string();
    };
    for (std::size_t n = 0; n < parts.size(); ++n) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, "-%02zu", n + 1);
        AtomicFile file(beside(suffix + path.extension().string()));
        BinaryWriter out(file);
        FormatSTLSolid(out, parts[n].vertices, parts[n].triangles);
        file.commit();
    }
    AtomicFile text(beside("-colours.txt"));
    BinaryWriter out(text);
    std::string lines = "# Heights above the bottom in millimetres where each band begins\n";
    char line[64];
    for (const ColourChange& change : changes) {
        std::snprintf(line, sizeof line, "band %d %.3f\n", int(change.band), change.heightMm);
        lines += line;
    }
    out.writeText(lines);
    text.commit();
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
        true, {}, static_cast<std::int32_t>(mesh.vertices.size()), mesh.triangleCount(), {},
        {},   {}};
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
        std::vector<std::uint8_t> bands;
        std::vector<ColourChange> changes;
        const bool partFiles = format.bandPartFiles && options.partsByBand;
        if (format.usesBands || partFiles) {
            bands = VertexBands(mesh, setup, raster);
            if (!raster.smooth) {
                changes = ColourChanges(mesh, options, bands);
                written.colourChanges = ColourChangesText(changes);
            }
        }
        if (partFiles)
            WriteBandPartFiles(fileName, BandParts(mesh, options, bands), changes);
        format.writeMesh(out, {mesh, setup.MapExtent, options, sideFile, bands, changes});
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
