// GeoTIFF written and elevation rasters read, checked through GDAL as GIS programs open them.
#include <gdal.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "elevation_raster.h"
#include "envi_header.h"
#include "gdal_session.h"
#include "geotiff.h"
#include "grey16_image.h"
#include "map_place.h"
#include "scripted_ui.h"
#include "temp_folder.h"

namespace quarn {
namespace {

using testing::ScriptedUi;
using testing::TempFolder;

const Georeference kPlace{{500000, 40, 0, 5200000, 0, -40}, ""};

ElevationGrid Ramp(std::int32_t cols, std::int32_t rows) {
    ElevationGrid grid{cols, rows, {}, kPlace};
    for (std::int32_t k = 0; k < cols * rows; ++k)
        grid.heights.push_back(static_cast<float>(k) * 0.1f - 3.3f);
    return grid;
}

// A raster made by GDAL itself: bands of type, all 0, the given metadata, in driver's format.
void WriteRaster(const std::string& path, const char* driver, int bands, GDALDataType type,
                 const std::vector<std::pair<const char*, const char*>>& metadata = {},
                 const std::vector<std::uint16_t>& samples = {}) {
    const GdalSession session;
    GDALDatasetH memory = GDALCreate(GDALGetDriverByName("MEM"), "", 4, 3, bands, type, nullptr);
    for (const auto& [key, value] : metadata)
        GDALSetMetadataItem(memory, key, value, nullptr);
    if (!samples.empty()) {
        ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(memory, 1), GF_Write, 0, 0, 4, 3,
                               const_cast<std::uint16_t*>(samples.data()), 4, 3, GDT_UInt16, 0, 0),
                  CE_None);
    }
    char* options[] = {const_cast<char*>("WRITE_METADATA_AS_TEXT=YES"), nullptr};
    GDALClose(GDALCreateCopy(GDALGetDriverByName(driver), path.c_str(), memory, FALSE,
                             std::strcmp(driver, "PNG") == 0 ? options : nullptr, nullptr,
                             nullptr));
    GDALClose(memory);
}

TEST(GeoTiff, IsFloat32PlacedCompressedAndReadsBackExactly) {
    const TempFolder folder;
    ElevationGrid grid = Ramp(5, 3);
    grid.place.wkt = *CoordinateSystemWkt("EPSG:32633");
    const std::string path = folder.write("dem.tif", GeoTiffBytes(grid));

    const auto read = ReadElevationRaster(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->grid.heights, grid.heights);
    EXPECT_EQ(read->grid.place.transform, grid.place.transform);
    EXPECT_NE(read->grid.place.wkt.find("UTM zone 33N"), std::string::npos);
    EXPECT_FALSE(read->reduced());

    const GdalSession session;
    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
    ASSERT_NE(dataset, nullptr);
    GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
    EXPECT_EQ(GDALGetRasterDataType(band), GDT_Float32);
    EXPECT_STREQ(GDALGetMetadataItem(dataset, "COMPRESSION", "IMAGE_STRUCTURE"), "DEFLATE");
    EXPECT_STREQ(GDALGetMetadataItem(dataset, "PREDICTOR", "IMAGE_STRUCTURE"), "3");
    EXPECT_STREQ(GDALGetMetadataItem(dataset, GDALMD_AREA_OR_POINT, nullptr), GDALMD_AOP_AREA);
    int blockCols = 0, blockRows = 0;
    GDALGetBlockSize(band, &blockCols, &blockRows);
    EXPECT_EQ(blockCols, 5);  // strips, not tiles
    GDALClose(dataset);

    folder.write("wide.tif", GeoTiffBytes(Ramp(1025, 2)));
    dataset = GDALOpen(folder.file("wide.tif").c_str(), GA_ReadOnly);
    GDALGetBlockSize(GDALGetRasterBand(dataset, 1), &blockCols, &blockRows);
    EXPECT_EQ(blockCols, 256);
    EXPECT_EQ(blockRows, 256);
    GDALClose(dataset);
}

TEST(ElevationRaster, NoDataCellsAreNotANumberAndHeightmapsTakeTheirRange) {
    const TempFolder folder;
    const std::string asc = folder.write("dem.asc",
                                         "ncols 3\nnrows 2\nxllcorner 100\nyllcorner 200\n"
                                         "cellsize 10\nNODATA_value -9999\n"
                                         "1 2 -9999\n4.5 5 6\n");
    const auto grid = ReadElevationRaster(asc);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->grid.place.transform, (std::array<double, 6>{100, 10, 0, 220, 0, -10}));
    EXPECT_TRUE(std::isnan(grid->grid.heights[2]));
    EXPECT_EQ(grid->grid.heights[3], 4.5f);

    // A heightmap PNG without a place: its samples scaled into its range, one unit a cell.
    std::vector<std::uint16_t> samples(12, 0);
    samples[1] = 65535, samples[2] = 13107;
    WriteRaster(folder.file("map.png"), "PNG", 1, GDT_UInt16,
                {{kHeightRangeKey, "-40..60 map units"}}, samples);
    const auto png = ReadElevationRaster(folder.file("map.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->grid.place.transform, (std::array<double, 6>{0, 1, 0, 0, 0, -1}));
    EXPECT_EQ(png->grid.heights[0], -40.0f);
    EXPECT_EQ(png->grid.heights[1], 60.0f);
    EXPECT_EQ(png->grid.heights[2], -20.0f);
}

// Above 4096 x 4096 cells, a raster is read averaged 3 x 3 (or more) over the same extent.
TEST(ElevationRaster, ALargeRasterIsReadReducedOverTheSameExtent) {
    const TempFolder folder;
    {
        const GdalSession session;
        char* options[] = {const_cast<char*>("TILED=YES"), const_cast<char*>("SPARSE_OK=TRUE"),
                           nullptr};
        GDALDatasetH large =
            GDALCreate(GDALGetDriverByName("GTiff"), folder.file("large.tif").c_str(), 4097, 4097,
                       1, GDT_Float32, options);
        std::array<double, 6> place = kPlace.transform;
        GDALSetGeoTransform(large, place.data());
        float corner = 300;
        ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(large, 1), GF_Write, 0, 0, 1, 1, &corner, 1, 1,
                               GDT_Float32, 0, 0),
                  CE_None);
        GDALClose(large);
    }
    const auto read = ReadElevationRaster(folder.file("large.tif"));
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->reduced());
    EXPECT_EQ(std::pair(read->fileCols, read->fileRows), std::pair(4097, 4097));
    EXPECT_EQ(std::pair(read->grid.cols, read->grid.rows), std::pair(1366, 1366));
    EXPECT_DOUBLE_EQ(read->grid.place.pixelWidth() * 1366, 40.0 * 4097);
    EXPECT_DOUBLE_EQ(read->grid.place.pixelHeight() * 1366, 40.0 * 4097);
    EXPECT_NEAR(read->grid.heights[0], 300.0 / 9, 0.1);  // the corner cell among about 3 x 3
    EXPECT_EQ(read->grid.heights[1], 0);
}

TEST(ElevationRaster, RefusesWhatIsNoElevationRaster) {
    const TempFolder folder;
    folder.write("empty.tif", "");
    WriteRaster(folder.file("rgb.tif"), "GTiff", 3, GDT_Byte);
    WriteRaster(folder.file("blank.tif"), "GTiff", 1, GDT_Float32, {});
    {
        const GdalSession session;
        GDALDatasetH blank = GDALOpen(folder.file("blank.tif").c_str(), GA_Update);
        GDALSetRasterNoDataValue(GDALGetRasterBand(blank, 1), 0);
        GDALClose(blank);
    }
    const ScriptedUi ui;
    for (const char* name : {"empty.tif", "rgb.tif", "blank.tif", "missing.tif"})
        EXPECT_FALSE(ReadElevationRaster(folder.file(name))) << name;
    EXPECT_EQ(ui.errorTexts(), (std::vector<std::string>{
                                   "\"empty.tif\" is no elevation raster that can be read.",
                                   "\"rgb.tif\" has 3 bands: an elevation raster has one.",
                                   "\"blank.tif\" holds no height.",
                                   "\"missing.tif\" is no elevation raster that can be read."}));
}

TEST(EnviHeader, LetsGdalOpenTheRawHeightmapInPlace) {
    const TempFolder folder;
    const std::string raw = folder.write("land.r16", std::string("\x01\x00\x02\x00\x03\x00"
                                                                 "\x04\x00\x05\x00\xff\xff",
                                                                 12));
    EXPECT_EQ(EnviHeaderName(raw), folder.file("land.hdr"));
    folder.write("land.hdr", EnviHeaderText(3, 2, "heights 0..470 map units at 0 and 65535",
                                            Georeference{kPlace.transform,
                                                         *CoordinateSystemWkt("EPSG:32633")}));
    const GdalSession session;
    GDALDatasetH dataset = GDALOpen(raw.c_str(), GA_ReadOnly);
    ASSERT_NE(dataset, nullptr);
    EXPECT_EQ(GDALGetRasterXSize(dataset), 3);
    EXPECT_EQ(GDALGetRasterYSize(dataset), 2);
    GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
    EXPECT_EQ(GDALGetRasterDataType(band), GDT_UInt16);
    std::array<double, 6> transform{};
    GDALGetGeoTransform(dataset, transform.data());
    EXPECT_EQ(transform, kPlace.transform);
    EXPECT_NE(std::string(GDALGetProjectionRef(dataset)).find("UTM zone 33N"), std::string::npos);
    std::uint16_t last = 0;
    ASSERT_EQ(GDALRasterIO(band, GF_Read, 2, 1, 1, 1, &last, 1, 1, GDT_UInt16, 0, 0), CE_None);
    EXPECT_EQ(last, 65535);
    GDALClose(dataset);
}

}  // namespace
}  // namespace quarn
