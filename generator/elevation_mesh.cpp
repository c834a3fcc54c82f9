#include "elevation_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "checked_float.h"
#include "grid_setup.h"
#include "map_unit_height.h"
#include "numeric.h"
#include "terrain_sampler.h"
#include "text.h"

namespace quarn {

namespace {

std::string FieldText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// A level typed, or the share of the way up the raster's heights where the text is blank.
float LevelOf(const std::string& text, double share, double low, double high) {
    if (!TrimLeftBlanks(text).empty())
        return CheckedToFloat(StrToFloat(text));
    return static_cast<float>(low + share * (high - low));
}

}  // namespace

std::optional<ElevationMesh> MeshOfElevation(const ElevationGrid& grid,
                                             const ElevationLevels& levels) {
    // The map the generator would sample once per cell: the raster's extent over its cells.
    GeneratorFields fields;
    const double width = grid.place.pixelWidth() * grid.cols;
    const double height = grid.place.pixelHeight() * grid.rows;
    fields.mapWidth = FieldText(width);
    fields.mapHeight = FieldText(height);
    fields.interval = FieldText(std::max(width, height) / std::max(grid.cols, grid.rows));
    fields.water = fields.lawn = fields.snow = "0";
    const auto setup = MakeGrid(fields, grid.cols, grid.rows);
    if (!setup)
        return std::nullopt;

    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const float h : grid.heights)
        if (!std::isnan(h))
            low = std::min(low, double{h}), high = std::max(high, double{h});
    TerrainMesh mesh;
    mesh.cols = grid.cols, mesh.rows = grid.rows;
    const float extent = setup->MapExtent;
    mesh.levels.water = NormalisedHeight(LevelOf(levels.water, 0.1, low, high), extent);
    mesh.levels.lawn = NormalisedHeight(LevelOf(levels.lawn, 0.6, low, high), extent);
    mesh.levels.snow = NormalisedHeight(LevelOf(levels.snow, 0.9, low, high), extent);

    // Placed as SampleTerrain places the centres of cells one pixel wide.
    ElevationMesh out;
    std::vector<std::int32_t> index(grid.heights.size(), -1);
    mesh.vertices.resize(grid.heights.size());
    for (std::int32_t i = 0; i < grid.rows; ++i) {
        for (std::int32_t j = 0; j < grid.cols; ++j) {
            const std::size_t k = std::size_t(i) * std::size_t(grid.cols) + std::size_t(j);
            SampledVertex& v = mesh.vertices[k];
            float unused = 0;
            DeviceToWorld(setup->mapping, j, 0, v.x, unused);
            DeviceToWorld(setup->mapping, 0, i, unused, v.y);
            if (std::isnan(grid.heights[k])) {
                v.h = grid.heights[k];
                continue;
            }
            v.h = NormalisedHeight(grid.heights[k], extent);
            index[k] = static_cast<std::int32_t>(out.vertices.size());
            out.vertices.push_back(mesh.fileVertex(k));
        }
    }
    for (std::int32_t i = 0; i + 1 < grid.rows; ++i)
        for (std::int32_t j = 0; j + 1 < grid.cols; ++j)
            for (Triangle t : SquareTriangles(mesh, i * grid.cols + j)) {
                t.a = index[std::size_t(t.a)], t.b = index[std::size_t(t.b)];
                t.c = index[std::size_t(t.c)];
                if (t.a >= 0 && t.b >= 0 && t.c >= 0)
                    out.triangles.push_back(t);
            }
    return out;
}

}  // namespace quarn
