#include "geotiff.h"

#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal.h>

#include <atomic>

#include "gdal_session.h"
#include "platform_error.h"

namespace quarn {

namespace {

constexpr std::int32_t kUntiledSide = 1024;

[[noreturn]] void ThrowGdalError(const char* what) {
    const std::string text = GdalSession::lastError();
    throw PlatformError(text.empty() ? what : text);
}

// A name in GDAL's memory file system no other call uses at the same time.
std::string MemoryFileName() {
    static std::atomic<unsigned> next{0};
    return "/vsimem/quarn-elevation-" + std::to_string(next++) + ".tif";
}

}  // namespace

std::vector<std::uint8_t> GeoTiffBytes(const ElevationGrid& grid) {
    const GdalSession session;
    GDALDatasetH memory =
        GDALCreate(GDALGetDriverByName("MEM"), "", grid.cols, grid.rows, 1, GDT_Float32, nullptr);
    if (!memory)
        ThrowGdalError("Out of memory");
    GDALSetGeoTransform(memory, const_cast<double*>(grid.place.transform.data()));
    if (!grid.place.wkt.empty())
        GDALSetProjection(memory, grid.place.wkt.c_str());
    GDALSetMetadataItem(memory, GDALMD_AREA_OR_POINT, GDALMD_AOP_AREA, nullptr);
    const CPLErr written = GDALRasterIO(GDALGetRasterBand(memory, 1), GF_Write, 0, 0, grid.cols,
                                        grid.rows, const_cast<float*>(grid.heights.data()),
                                        grid.cols, grid.rows, GDT_Float32, 0, 0);
    if (written != CE_None) {
        GDALClose(memory);
        ThrowGdalError("Out of memory");
    }
    char** options = nullptr;
    options = CSLSetNameValue(options, "COMPRESS", "DEFLATE");
    options = CSLSetNameValue(options, "PREDICTOR", "3");
    if (grid.cols > kUntiledSide || grid.rows > kUntiledSide)
        options = CSLSetNameValue(options, "TILED", "YES");
    const std::string name = MemoryFileName();
    GDALDatasetH tiff = GDALCreateCopy(GDALGetDriverByName("GTiff"), name.c_str(), memory, FALSE,
                                       options, nullptr, nullptr);
    CSLDestroy(options);
    GDALClose(memory);
    if (tiff)
        GDALClose(tiff);
    if (!tiff || CPLGetLastErrorType() == CE_Failure) {
        VSIUnlink(name.c_str());
        ThrowGdalError("Disk full");
    }
    vsi_l_offset length = 0;
    const GByte* data = VSIGetMemFileBuffer(name.c_str(), &length, FALSE);
    std::vector<std::uint8_t> bytes(data, data + length);
    VSIUnlink(name.c_str());
    return bytes;
}

}  // namespace quarn
