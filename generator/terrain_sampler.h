// From the sampling grid and the classified map to the terrain's vertices and triangles.
//
// All heights are divided by the map extent before they are averaged. A cell's height is the
// mean of the assigned heights of its pixels whose colour has a height, each pixel weighted
// equally; a cell without such a pixel repeats the cell written before it (the first cell
// takes the mean of the set heights); no cell lies below the Water level. When the raster
// asks for the smooth surface, a cell's height is the mean of the smooth heights of all its
// pixels instead (summed in double, row after row), Water still its floor. Every writer works
// from the same TerrainMesh, so all output formats carry the same vertices and triangles.
// Bands of grid rows, or of grid columns for the smooth sums, are sampled on several threads;
// the cells without a height are resolved in writing order afterwards, so the mesh is the one
// a single pass gives.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "grid_setup.h"
#include "map_raster.h"
#include "tdf_format.h"

namespace quarn {

/// Heights and levels divided by the map extent, float32.
struct NormalisedLevels {
    std::array<float, 16> norm{};
    std::array<bool, 16> set{};
    float water = 0, lawn = 0, snow = 0;
    float meanOfSet = 0;  // the height before the first cell
};

inline constexpr const char* kNoHeightText = "Must set at least one height!";

/// The normalised heights and levels, or nothing when no height is set.
std::optional<NormalisedLevels> NormaliseLevels(const GridSetup& setup);

/// A vertex as the triangle colours need it: terrain x, y and the normalised height.
struct SampledVertex {
    float x = 0, y = 0, h = 0;
};

/// z as written: the normalised height times 2.5.
float WrittenZ(float h);

struct TerrainMesh {
    std::int32_t cols = 0, rows = 0;
    NormalisedLevels levels;
    std::vector<SampledVertex> vertices;  // row after row from the top, k = row * cols + col
    // A simplified mesh's triangles, its vertices then only the samples kept (samples[v] the
    // grid's k of vertex v); both empty for the full grid's two triangles per square.
    std::vector<Triangle> triangles;
    std::vector<std::int32_t> samples;

    bool simplified() const { return !triangles.empty(); }
    /// 2 (cols - 1) (rows - 1), or the simplified mesh's; SampleTerrain makes only meshes whose
    /// count fits.
    std::int32_t triangleCount() const {
        return simplified() ? static_cast<std::int32_t>(triangles.size())
                            : static_cast<std::int32_t>(GridTriangleCount(cols, rows));
    }
    /// Vertex k as written to a file.
    Vertex fileVertex(std::size_t k) const {
        return {vertices[k].x, vertices[k].y, WrittenZ(vertices[k].h)};
    }
};

/// Samples every cell of the grid, placing vertices by the setup's mapping. The raster must
/// cover the grid and the grid's counts fit 32 bits (as after Set_Grid on the same image);
/// otherwise std::invalid_argument, before anything is read.
TerrainMesh SampleTerrain(const GridSetup& setup, const NormalisedLevels& levels,
                          const ClassifiedRaster& raster);

/// 216 at or below water, 120 at or below lawn, 24 below snow, else 32767.
std::int32_t Triangle_Color(float mean, float water, float lawn, float snow);

/// The triangle's mean height: the sum of three float32 heights times one third, rounded once.
float MeanHeight(float a, float b, float c);

/// The two triangles of the grid square whose top-left vertex is k, in file order.
inline std::array<Triangle, 2> SquareTriangles(const TerrainMesh& mesh, std::int32_t k) {
    const NormalisedLevels& l = mesh.levels;
    const std::int32_t right = k + 1;
    const std::int32_t below = k + mesh.cols;
    const std::int32_t diagonal = below + 1;
    const auto h = [&](std::int32_t index) {
        return mesh.vertices[static_cast<std::size_t>(index)].h;
    };
    return {
        Triangle{k, right, diagonal,
                 Triangle_Color(MeanHeight(h(k), h(right), h(diagonal)), l.water, l.lawn, l.snow)},
        Triangle{k, diagonal, below,
                 Triangle_Color(MeanHeight(h(k), h(diagonal), h(below)), l.water, l.lawn, l.snow)}};
}

/// Calls visit(triangle) for every triangle in file order: a simplified mesh's, or the two of
/// every grid square.
template <typename Visit>
void ForEachTriangle(const TerrainMesh& mesh, Visit&& visit) {
    if (mesh.simplified()) {
        for (const Triangle& t : mesh.triangles)
            visit(t);
        return;
    }
    for (std::int32_t i = 0; i + 1 < mesh.rows; ++i)
        for (std::int32_t j = 0; j + 1 < mesh.cols; ++j)
            for (const Triangle& t : SquareTriangles(mesh, i * mesh.cols + j))
                visit(t);
}

}  // namespace quarn
