#include "generator_test_support.h"

#include <gtest/gtest.h>

#include "scripted_ui.h"

namespace quarn::testing {

GeneratorFields Fields(const std::string& water, const std::string& lawn, const std::string& snow,
                       const std::string& mapWidth, const std::string& mapHeight,
                       const std::string& interval) {
    return {water, lawn, snow, mapWidth, mapHeight, interval, {}, "3DF"};
}

GeneratorFields TwoByTwoFields() {
    GeneratorFields f = Fields("0", "10", "200", "100", "100", "50");
    f.heights[0] = "100";
    return f;
}

ClassifiedRaster UniformRaster(std::int32_t width, std::int32_t height, std::uint8_t cls) {
    return {width, height,
            std::vector<std::uint8_t>(
                static_cast<std::size_t>(width) * static_cast<std::size_t>(height), cls)};
}

void Paint(ClassifiedRaster& raster, std::int32_t x0, std::int32_t y0, std::int32_t w,
           std::int32_t h, std::uint8_t cls) {
    for (std::int32_t y = y0; y < y0 + h; ++y)
        for (std::int32_t x = x0; x < x0 + w; ++x)
            raster.classes[static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.width) +
                           static_cast<std::size_t>(x)] = cls;
}

TerrainMesh SampleOnGrid(const GeneratorFields& fields, const ClassifiedRaster& raster) {
    ScriptedUi ui;
    GridSetup setup;
    EXPECT_TRUE(Set_Grid(fields, raster.width, raster.height, setup));
    const auto levels = NormaliseLevels(setup);
    EXPECT_TRUE(levels.has_value());
    return SampleTerrain(setup, *levels, raster);
}

}  // namespace quarn::testing
