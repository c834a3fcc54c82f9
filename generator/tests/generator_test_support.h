// Small builders for the generator's tests: panel texts, classified maps and sampled meshes.
#pragma once

#include <cstdint>
#include <string>

#include "grid_setup.h"
#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn::testing {

/// Panel texts with the six level and size fields filled and no height set.
GeneratorFields Fields(const std::string& water, const std::string& lawn, const std::string& snow,
                       const std::string& mapWidth, const std::string& mapHeight,
                       const std::string& interval);

/// For a 20 x 20 map: 100 x 100 units, Interval 50 (a 2 x 2 grid of 10-pixel cells), colour 0
/// at height 100.
GeneratorFields TwoByTwoFields();

/// A width x height map of one class.
ClassifiedRaster UniformRaster(std::int32_t width, std::int32_t height, std::uint8_t cls);

/// Sets the classes of the rectangle [x0, x0 + w) x [y0, y0 + h) to cls.
void Paint(ClassifiedRaster& raster, std::int32_t x0, std::int32_t y0, std::int32_t w,
           std::int32_t h, std::uint8_t cls);

/// Sets the grid up for raster (expecting success) and samples it, as the writers do.
TerrainMesh SampleOnGrid(const GeneratorFields& fields, const ClassifiedRaster& raster);

}  // namespace quarn::testing
