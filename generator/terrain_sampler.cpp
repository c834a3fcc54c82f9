#include "terrain_sampler.h"

#include <limits>
#include <stdexcept>

#include "checked_float.h"
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
        (!raster.heights.empty() && raster.heights.size() != raster.classes.size()) ||
        cols * cell > raster.width || rows * cell > raster.height)
        throw std::invalid_argument("Map raster does not cover the sampling grid");
}

// The mean of the set heights of the cell's pixels, or prev when none has a height.
float TerracedCell(const std::uint8_t* row, std::size_t width, std::int32_t cell,
                   const NormalisedLevels& levels, const std::array<std::uint8_t, 16>& setIndices,
                   std::size_t setCount, float prev) {
    // One slot past the palette counts pixels of no swatch colour, which take no part.
    std::array<std::uint32_t, kNoClass + 1> hist{};
    for (std::int32_t py = 0; py < cell; ++py, row += width)
        for (std::int32_t px = 0; px < cell; ++px)
            ++hist[row[px]];
    std::uint32_t count = 0;
    float acc = 0;
    for (std::size_t s = 0; s < setCount; ++s) {
        const std::uint8_t e = setIndices[s];
        count += hist[e];
        // A cell of many pixels at a huge height can pass the 32-bit range.
        acc = CheckedToFloat(acc + static_cast<double>(hist[e]) * levels.norm[e]);
    }
    return count == 0 ? prev : static_cast<float>(static_cast<double>(acc) / count);
}

// The mean of the per-pixel heights of the cell, every pixel having one.
float SmoothCell(const float* row, std::size_t width, std::int32_t cell) {
    double acc = 0;
    for (std::int32_t py = 0; py < cell; ++py, row += width)
        for (std::int32_t px = 0; px < cell; ++px)
            acc += row[px];
    return CheckedToFloat(acc / (static_cast<double>(cell) * cell));
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

    std::array<std::uint8_t, 16> setIndices{};
    std::size_t setCount = 0;
    for (std::size_t e = 0; e < 16; ++e)
        if (levels.set[e])
            setIndices[setCount++] = static_cast<std::uint8_t>(e);

    const std::int32_t cell = setup.CellSize;
    const auto width = static_cast<std::size_t>(raster.width);
    float prev = levels.meanOfSet;
    std::size_t k = 0;
    for (std::int32_t i = 0; i < mesh.rows; ++i) {
        for (std::int32_t j = 0; j < mesh.cols; ++j, ++k) {
            const std::size_t first =
                static_cast<std::size_t>(i) * static_cast<std::size_t>(cell) * width +
                static_cast<std::size_t>(j) * static_cast<std::size_t>(cell);
            float h = raster.heights.empty()
                          ? TerracedCell(raster.classes.data() + first, width, cell, levels,
                                         setIndices, setCount, prev)
                          : SmoothCell(raster.heights.data() + first, width, cell);
            if (h < levels.water)
                h = levels.water;
            prev = h;

            SampledVertex& v = mesh.vertices[k];
            DeviceToWorld(setup.mapping, j * cell + cell / 2, i * cell + cell / 2, v.x, v.y);
            v.h = h;
        }
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
