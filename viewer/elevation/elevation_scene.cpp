#include "elevation_scene.h"

#include <filesystem>

#include "elevation_raster.h"
#include "text.h"

namespace quarn {

bool IsElevationRasterName(const std::string& fileName) {
    const std::string extension = UpperCase(std::filesystem::path(fileName).extension().string());
    for (const char* raster : {".TIF", ".TIFF", ".PNG", ".ASC", ".DEM"})
        if (extension == raster)
            return true;
    return false;
}

std::optional<ElevationScene> ReadElevationScene(const std::string& fileName,
                                                 const ElevationLevels& levels, float d) {
    const auto raster = ReadElevationRaster(fileName);
    if (!raster)
        return std::nullopt;
    auto mesh = MeshOfElevation(raster->grid, levels);
    if (!mesh)
        return std::nullopt;
    auto loaded = SceneOfRecords(std::move(mesh->vertices), std::move(mesh->triangles), d);
    if (!loaded)
        return std::nullopt;
    const auto size = [](std::int32_t cols, std::int32_t rows) {
        return std::to_string(cols) + " x " + std::to_string(rows);
    };
    std::string reading = size(raster->fileCols, raster->fileRows) + " cells";
    if (raster->reduced())
        reading += " read as " + size(raster->grid.cols, raster->grid.rows);
    return ElevationScene{std::move(*loaded), reading};
}

}  // namespace quarn
