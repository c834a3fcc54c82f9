#include "elevation_raster.h"

#include <cpl_string.h>
#include <gdal.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>

#include "gdal_session.h"
#include "grey16_image.h"
#include "message_box.h"
#include "platform_error.h"

namespace quarn {

namespace {

struct CloseDataset {
    void operator()(void* dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<void, CloseDataset>;

// The heights a heightmap PNG's samples 0 and 65535 stand for, from "LOW..HIGH map units".
std::optional<std::pair<double, double>> HeightRangeOf(const char* text) {
    if (!text)
        return std::nullopt;
    // Split at ".." first: "-40." alone would pass for a number.
    const std::string range = text;
    const std::size_t dots = range.find("..");
    if (dots == std::string::npos)
        return std::nullopt;
    const std::string lowText = range.substr(0, dots);
    char* end = nullptr;
    const double low = std::strtod(lowText.c_str(), &end);
    if (lowText.empty() || *end != '\0')
        return std::nullopt;
    const char* highText = text + dots + 2;
    const double high = std::strtod(highText, &end);
    if (end == highText || !std::isfinite(low) || !std::isfinite(high))
        return std::nullopt;
    return std::pair{low, high};
}

// The size a reduced reading gives: whole cells of the raster averaged f x f, at least 2 x 2.
std::pair<std::int32_t, std::int32_t> ReadSize(std::int32_t cols, std::int32_t rows) {
    const std::int64_t cells = std::int64_t{cols} * rows;
    if (cells <= kMostCellsReadInFull)
        return {cols, rows};
    const auto factor = static_cast<std::int32_t>(
        std::ceil(std::sqrt(static_cast<double>(cells) / static_cast<double>(kReducedCells))));
    return {std::max(2, (cols + factor - 1) / factor), std::max(2, (rows + factor - 1) / factor)};
}

}  // namespace

std::optional<ElevationRaster> ReadElevationRaster(const std::string& fileName) {
    const GdalSession session;
    const std::string name = "\"" + std::filesystem::path(fileName).filename().string() + "\"";
    const Dataset dataset(GDALOpen(fileName.c_str(), GA_ReadOnly));
    if (!dataset) {
        ShowErrorBox(name + " is no elevation raster that can be read.");
        return std::nullopt;
    }
    const int bands = GDALGetRasterCount(dataset.get());
    if (bands != 1) {
        ShowErrorBox(name + " has " + std::to_string(bands) +
                     " bands: an elevation raster has one.");
        return std::nullopt;
    }
    ElevationRaster raster;
    raster.fileCols = GDALGetRasterXSize(dataset.get());
    raster.fileRows = GDALGetRasterYSize(dataset.get());
    Georeference& place = raster.grid.place;
    if (GDALGetGeoTransform(dataset.get(), place.transform.data()) != CE_None)
        place.transform = {0, 1, 0, 0, 0, -1};  // one map unit a cell, from the top-left corner
    if (!place.northUp()) {
        ShowErrorBox(name +
                     " is placed turned or mirrored: only rasters with north up can be "
                     "shown.");
        return std::nullopt;
    }
    place.wkt = GDALGetProjectionRef(dataset.get());

    auto [cols, rows] = ReadSize(raster.fileCols, raster.fileRows);
    raster.grid.cols = cols, raster.grid.rows = rows;
    place.transform[1] *= double(raster.fileCols) / cols;
    place.transform[5] *= double(raster.fileRows) / rows;
    std::vector<float>& heights = raster.grid.heights;
    heights.resize(std::size_t(cols) * std::size_t(rows));
    GDALRasterBandH band = GDALGetRasterBand(dataset.get(), 1);
    GDALRasterIOExtraArg extra;
    INIT_RASTERIO_EXTRA_ARG(extra);
    extra.eResampleAlg = GRIORA_Average;
    if (GDALRasterIOEx(band, GF_Read, 0, 0, raster.fileCols, raster.fileRows, heights.data(), cols,
                       rows, GDT_Float32, 0, 0, &extra) != CE_None) {
        const std::string error = GdalSession::lastError();
        throw PlatformError(error.empty() ? "Read beyond end of file" : error);
    }

    int hasNoData = 0;
    const double noData = GDALGetRasterNoDataValue(band, &hasNoData);
    // The whole list: the PNG reader collects its text chunks only for it.
    const auto range =
        HeightRangeOf(CSLFetchNameValue(GDALGetMetadata(dataset.get(), nullptr), kHeightRangeKey));
    bool anyHeight = false;
    for (float& h : heights) {
        if (hasNoData && (h == static_cast<float>(noData) || (std::isnan(noData) && std::isnan(h))))
            h = std::numeric_limits<float>::quiet_NaN();
        else if (range)
            h = static_cast<float>(range->first + (range->second - range->first) * h / 65535.0);
        anyHeight |= !std::isnan(h);
    }
    if (!anyHeight) {
        ShowErrorBox(name + " holds no height.");
        return std::nullopt;
    }
    return raster;
}

}  // namespace quarn
