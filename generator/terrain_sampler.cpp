#include "terrain_sampler.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "checked_float.h"
#include "parallel.h"
#include "smooth_surface.h"
#include "window_mapping.h"

namespace quarn {

namespace {

void RequireSamplable(const GridSetup& setup, const ClassifiedRaster& raster) {
    const std::int64_t cols = setup.GridCols, rows = setup.GridRows, cell = setup.CellSize;
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    if (cols * rows > limit || GridTriangleCount(cols, rows) > limit)
        throw std::invalid_argument("Sampling grid too large for 32-bit counts");
    if (raster.width < 0 || raster.height < 0 ||
        raster.classes.size() != std::size_t(raster.width) * std::size_t(raster.height) ||
        cols * cell > raster.width || rows * cell > raster.height)
        throw std::invalid_argument("Map raster does not cover the sampling grid");
}

// Grid rows per thread below which sampling stays on fewer threads.
constexpr std::int64_t kMinGridRowsPerBand = 64;

// The mean of the set heights of the cell's pixels, or NaN when none has a height. setMask
// has bit e for each set palette index e.
float TerracedCell(const std::uint8_t* row, std::size_t width, std::int32_t cell,
                   const NormalisedLevels& levels, std::uint32_t setMask) {
    // One slot past the palette counts pixels of no swatch colour, which take no part.
    std::array<std::uint32_t, kNoClass + 1> hist{};
    std::uint32_t present = 0;
    for (std::int32_t py = 0; py < cell; ++py, row += width) {
        for (std::int32_t px = 0; px < cell; ++px) {
            ++hist[row[px]];
            present |= 1u << row[px];
        }
    }
    // Set indices in increasing order; one without pixels would add exactly nothing.
    std::uint32_t count = 0;
    float acc = 0;
    for (std::uint32_t left = present & setMask; left != 0; left &= left - 1) {
        const auto e = static_cast<std::size_t>(std::countr_zero(left));
        count += hist[e];
        acc = static_cast<float>(acc + static_cast<double>(hist[e]) * levels.norm[e]);
    }
    // A cell of many pixels at a huge height can pass the 32-bit range; once infinite, the sum
    // stays so.
    if (std::isinf(acc))
        ThrowOverflow();
    return count == 0 ? std::numeric_limits<float>::quiet_NaN()
                      : static_cast<float>(static_cast<double>(acc) / count);
}

// Grid columns per thread below which the smooth sums stay on fewer threads.
constexpr std::size_t kMinGridColumnsPerBand = 64;

// Adds map row y's smooth heights to the sums of the cells of grid columns begin..end - 1 and,
// on the last map row of a grid row, makes each sum its cell's mean.
void AddSmoothRow(const float* row, std::int64_t y, std::int32_t cell, std::size_t begin,
                  std::size_t end, std::vector<double>& sums, TerrainMesh& mesh) {
    for (std::size_t j = begin; j < end; ++j) {
        const float* pixel = row + j * static_cast<std::size_t>(cell);
        double acc = sums[j];
        for (std::int32_t px = 0; px < cell; ++px)
            acc += pixel[px];
        sums[j] = acc;
    }
    if ((y + 1) % cell != 0)
        return;
    const auto first = static_cast<std::size_t>(y / cell) * static_cast<std::size_t>(mesh.cols);
    for (std::size_t j = begin; j < end; ++j) {
        mesh.vertices[first + j].h = CheckedToFloat(sums[j] / (static_cast<double>(cell) * cell));
        sums[j] = 0;
    }
}

// Each cell's height as the mean of the smooth heights of its pixels, summed in row order as
// the bands of map rows come.
void SampleSmooth(const NormalisedLevels& levels, const ClassifiedRaster& raster, std::int32_t cell,
                  TerrainMesh& mesh) {
    const auto width = static_cast<std::size_t>(raster.width);
    const std::int64_t sampledRows = std::int64_t{mesh.rows} * cell;
    std::vector<double> sums(static_cast<std::size_t>(mesh.cols));
    ForEachSmoothBand(raster, levels, [&](std::int32_t top, std::int32_t rows, const float* band) {
        const std::int64_t used = std::min<std::int64_t>(rows, sampledRows - top);
        if (used <= 0)
            return;
        ParallelChunks(sums.size(), kMinGridColumnsPerBand,
                       [&](std::size_t, std::size_t begin, std::size_t end) {
                           for (std::int64_t r = 0; r < used; ++r)
                               AddSmoothRow(band + static_cast<std::size_t>(r) * width, top + r,
                                            cell, begin, end, sums, mesh);
                       });
    });
}

}  // namespace

std::optional<NormalisedLevels> NormaliseLevels(const GridSetup& setup) {
    NormalisedLevels levels;
    const double extent = setup.MapExtent;
    for (std::size_t e = 0; e < levels.norm.size(); ++e) {
        levels.norm[e] = CheckedToFloat(CheckedDivide(setup.heights[e].height, extent));
        levels.set[e] = setup.heights[e].set;
    }
    levels.water = CheckedToFloat(CheckedDivide(setup.Water, extent));
    levels.lawn = CheckedToFloat(CheckedDivide(setup.Lawn, extent));
    levels.snow = CheckedToFloat(CheckedDivide(setup.Snow, extent));
    float sum = 0;
    std::int32_t count = 0;
    for (std::size_t e = 0; e < levels.norm.size(); ++e) {
        if (!levels.set[e])
            continue;
        sum = CheckedToFloat(static_cast<double>(sum) + levels.norm[e]);
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    levels.meanOfSet = CheckedToFloat(static_cast<double>(sum) / count);
    return levels;
}

float WrittenZ(float h) {
    return CheckedToFloat(static_cast<double>(h) * 2.5);
}

TerrainMesh SampleTerrain(const GridSetup& setup, const NormalisedLevels& levels,
                          const ClassifiedRaster& raster) {
    TerrainMesh mesh;
    mesh.levels = levels;
    mesh.cols = setup.GridCols;
    mesh.rows = setup.GridRows;
    if (mesh.cols <= 0 || mesh.rows <= 0)
        return mesh;
    RequireSamplable(setup, raster);
    mesh.vertices.resize(static_cast<std::size_t>(mesh.cols) * static_cast<std::size_t>(mesh.rows));

    std::uint32_t setMask = 0;
    for (std::size_t e = 0; e < 16; ++e)
        if (levels.set[e])
            setMask |= 1u << e;

    const std::int32_t cell = setup.CellSize;
    const auto width = static_cast<std::size_t>(raster.width);
    const auto cols = static_cast<std::size_t>(mesh.cols);
    // A vertex's x depends on its column only, its y on its row only.
    std::vector<float> xOfColumn(cols), yOfRow(static_cast<std::size_t>(mesh.rows));
    float unused = 0;
    for (std::int32_t j = 0; j < mesh.cols; ++j)
        DeviceToWorld(setup.mapping, j * cell + cell / 2, cell / 2,
                      xOfColumn[static_cast<std::size_t>(j)], unused);
    for (std::int32_t i = 0; i < mesh.rows; ++i)
        DeviceToWorld(setup.mapping, cell / 2, i * cell + cell / 2, unused,
                      yOfRow[static_cast<std::size_t>(i)]);
    // The cells of a band of grid rows are sampled on their own thread; a cell without a
    // height is marked and takes the previous cell's height in the pass after. The smooth
    // heights come after the positions, as the surface hands out its bands of map rows.
    ForEachRowBand(mesh.rows, kMinGridRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (auto i = static_cast<std::size_t>(begin); i < static_cast<std::size_t>(end); ++i) {
            for (std::size_t j = 0; j < cols; ++j) {
                const std::size_t first = (i * width + j) * static_cast<std::size_t>(cell);
                SampledVertex& v = mesh.vertices[i * cols + j];
                if (!raster.smooth)
                    v.h = TerracedCell(raster.classes.data() + first, width, cell, levels, setMask);
                v.x = xOfColumn[j];
                v.y = yOfRow[i];
            }
        }
    });
    if (raster.smooth)
        SampleSmooth(levels, raster, cell, mesh);
    float prev = levels.meanOfSet;
    for (SampledVertex& v : mesh.vertices) {
        float h = std::isnan(v.h) ? prev : v.h;
        if (h < levels.water)
            h = levels.water;
        prev = v.h = h;
    }
    return mesh;
}

std::int32_t Triangle_Color(float mean, float water, float lawn, float snow) {
    if (mean <= water)
        return kWaterCode;
    if (mean <= lawn)
        return kLawnCode;
    if (mean < snow)
        return kMountainCode;
    return kSnowCode;
}

float MeanHeight(float a, float b, float c) {
    return static_cast<float>((static_cast<double>(a) + b + c) * (1.0 / 3.0));
}

}  // namespace quarn
