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

    // Placed as SampleTerrain places the centres of cells one pixel wide: x by the column, y by
    // the row.
    std::vector<float> xOfColumn(std::size_t(grid.cols)), yOfRow(std::size_t(grid.rows));
    float unused = 0;
    for (std::int32_t j = 0; j < grid.cols; ++j)
        DeviceToWorld(setup->mapping, j, 0, xOfColumn[std::size_t(j)], unused);
    for (std::int32_t i = 0; i < grid.rows; ++i)
        DeviceToWorld(setup->mapping, 0, i, unused, yOfRow[std::size_t(i)]);
    const std::size_t count = grid.heights.size();
    mesh.vertices.resize(count);
    bool complete = true;
    for (std::size_t k = 0; k < count; ++k) {
        SampledVertex& v = mesh.vertices[k];
        v.x = xOfColumn[k % std::size_t(grid.cols)];
        v.y = yOfRow[k / std::size_t(grid.cols)];
        v.h = grid.heights[k];
        if (std::isnan(v.h))
            complete = false;
        else
            v.h = NormalisedHeight(v.h, extent);
    }
    ElevationMesh out;
    std::vector<Triangle> triangles;
    triangles.reserve(std::size_t(GridTriangleCount(grid.cols, grid.rows)));
    const auto hasData = [&](std::int32_t k) {
        return !std::isnan(mesh.vertices[std::size_t(k)].h);
    };
    ForEachTriangle(mesh, [&](const Triangle& t) {
        if (complete || (hasData(t.a) && hasData(t.b) && hasData(t.c)))
            triangles.push_back(t);
    });
    // Every vertex a corner of some triangle, numbered in order, as a 3DF scene keeps them.
    std::vector<std::int32_t> index;
    if (!complete) {
        index.assign(count, -1);
        for (const Triangle& t : triangles)
            index[std::size_t(t.a)] = index[std::size_t(t.b)] = index[std::size_t(t.c)] = 0;
    }
    out.vertices.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        if (complete || index[k] == 0) {
            if (!complete)
                index[k] = static_cast<std::int32_t>(out.vertices.size());
            out.vertices.push_back(mesh.fileVertex(k));
        }
    }
    if (!complete)
        for (Triangle& t : triangles)
            t.a = index[std::size_t(t.a)], t.b = index[std::size_t(t.b)],
            t.c = index[std::size_t(t.c)];
    out.triangles = std::move(triangles);
    return out;
}

}  // namespace quarn
