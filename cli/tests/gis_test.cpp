// quarn3d-cli with maps that have a place on Earth: world files and GeoTIFF tags in, GeoTIFF and
// placed heightmaps out, and the refusals a GIS user meets.
#include <gdal.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "elevation_raster.h"
#include "map_place.h"
#include "run_cli.h"
#include "scripted_ui.h"
#include "temp_folder.h"

namespace quarn {
namespace {

namespace fs = std::filesystem;
using testing::Outcome;
using testing::Quoted;
using testing::RunCli;

// The island sample, 320 x 240 pixels of 25 metres in UTM zone 33N: 8000 x 6000 metres.
constexpr const char* kIslandPlace = "25\n0\n0\n-25\n500012.5\n5199987.5\n";

class GisCli : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(fs::path(QUARN_SAMPLES_DIR) / "island.bmp", m_folder.path() / "sheet.bmp");
        m_folder.write("sheet.bpw", kIslandPlace);
        m_folder.write("sheet.prj", *CoordinateSystemWkt("EPSG:32633"));
    }

    // generate of the sheet with the sample's heights, no map size given.
    Outcome generate(const std::string& output, const std::string& options = "") const {
        std::string heights;
        const int values[16] = {-350, -210, -100, -25, 10,  40,  80,  120,
                                160,  200,  240,  280, 320, 365, 415, 470};
        for (int e = 0; e < 16; ++e)
            heights += " --height " + std::to_string(e) + "=" + std::to_string(values[e]);
        return RunCli("generate " + Quoted(m_folder.path() / "sheet.bmp") + " " +
                      Quoted(m_folder.path() / output) + " --water 0 --lawn 90 --snow 400" +
                      " --interval 100" + heights + " " + options);
    }

    testing::TempFolder m_folder;
};

TEST_F(GisCli, APlacedMapGivesItsExtentAndItsPlaceToTheElevationOutputs) {
    const Outcome tif = generate("sheet.tif");
    ASSERT_EQ(tif.exitCode, 0) << tif.output;
    EXPECT_EQ(tif.output, "4800 vertices, 9322 triangles written to " + m_folder.file("sheet.tif") +
                              "\n80 x 60 samples, heights 0..470 map units\n");
    const auto dem = ReadElevationRaster(m_folder.file("sheet.tif"));
    ASSERT_TRUE(dem);
    EXPECT_EQ(dem->grid.place.transform, (std::array<double, 6>{500000, 100, 0, 5200000, 0, -100}));
    EXPECT_NE(dem->grid.place.wkt.find("UTM zone 33N"), std::string::npos);

    // A typed size wins over the extent; --srs over the .prj.
    const Outcome typed = generate("typed.tif",
                                   "--map-width 16000 --map-height 12000 "
                                   "--srs EPSG:25833");
    ASSERT_EQ(typed.exitCode, 0) << typed.output;
    EXPECT_NE(typed.output.find("\n160 x 120 samples"), std::string::npos) << typed.output;
    const auto retyped = ReadElevationRaster(m_folder.file("typed.tif"));
    ASSERT_TRUE(retyped);
    EXPECT_EQ(retyped->grid.place.transform[1], 50);  // the map's own pixels, 2 a sample
    EXPECT_NE(retyped->grid.place.wkt.find("ETRS89"), std::string::npos);

    ASSERT_EQ(generate("sheet.png").exitCode, 0);
    ASSERT_EQ(generate("sheet.r16").exitCode, 0);
    for (const char* beside : {"sheet.pgw", "sheet.hdr"})
        EXPECT_TRUE(fs::exists(m_folder.path() / beside)) << beside;
    EXPECT_EQ(ReadMapPlace(m_folder.file("sheet.png")).place->transform, dem->grid.place.transform);
}

TEST_F(GisCli, ImportKeepsTheImagesPlace) {
    const Outcome imported = RunCli("import " + Quoted(m_folder.path() / "sheet.bmp") + " " +
                                    Quoted(m_folder.path() / "clean.bmp") + " --bands 16");
    ASSERT_EQ(imported.exitCode, 0) << imported.output;
    const MapPlace place = ReadMapPlace(m_folder.file("clean.bmp"));
    ASSERT_TRUE(place.place);
    EXPECT_EQ(place.place->transform, (std::array<double, 6>{500000, 25, 0, 5200000, 0, -25}));
    EXPECT_EQ(m_folder.read("clean.prj"), m_folder.read("sheet.prj"));
}

TEST_F(GisCli, PlacesThatCannotBeUsedAreRefusedAndNothingIsWritten) {
    const std::pair<const char*, const char*> worldFiles[] = {
        {"25\n0\n0\n-25\n5OOOOO\n1\n",
         "World file \"sheet.bpw\" has no number on line 5: \"5OOOOO\".\n"},
        {"25\n0.5\n0\n-25\n1\n1\n",
         "World file \"sheet.bpw\" turns the map: only maps with north up can be placed.\n"},
    };
    const auto before = m_folder.entries();
    for (const auto& [text, message] : worldFiles) {
        m_folder.write("sheet.bpw", text);
        const Outcome refused = generate("sheet.tif");
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.output, message);
        const Outcome notImported = RunCli("import " + Quoted(m_folder.path() / "sheet.bmp") + " " +
                                           Quoted(m_folder.path() / "clean.bmp"));
        EXPECT_EQ(notImported.exitCode, 1);
        EXPECT_EQ(m_folder.entries(), before);
    }
    m_folder.write("sheet.bpw", kIslandPlace);
    const Outcome badSrs = generate("sheet.tif", "--srs EPSG:nowhere");
    EXPECT_EQ(badSrs.exitCode, 2);
    EXPECT_TRUE(badSrs.output.starts_with(
        "--srs takes a coordinate system such as EPSG:32633, not \"EPSG:nowhere\".\n"));
    // A GeoTIFF map far too large is refused from its header, before any pixel is read.
    {
        char* options[] = {const_cast<char*>("TILED=YES"), const_cast<char*>("SPARSE_OK=TRUE"),
                           nullptr};
        GDALAllRegister();
        GDALClose(GDALCreate(GDALGetDriverByName("GTiff"), m_folder.file("huge.tif").c_str(),
                             100000, 100000, 3, GDT_Byte, options));
    }
    const Outcome huge = RunCli("generate " + Quoted(m_folder.path() / "huge.tif") + " " +
                                Quoted(m_folder.path() / "out.tif") + " --interval 1");
    EXPECT_EQ(huge.exitCode, 1);
    EXPECT_EQ(huge.output,
              m_folder.file("huge.tif") + ": 100000 x 100000 pixels, larger than 16384 x 16384.\n");
    m_folder.write("empty.tif", "");
    const Outcome empty = RunCli("generate " + Quoted(m_folder.path() / "empty.tif") + " " +
                                 Quoted(m_folder.path() / "out.tif") + " --interval 1");
    EXPECT_EQ(empty.exitCode, 1) << empty.output;
    EXPECT_FALSE(fs::exists(m_folder.path() / "out.tif"));
}

// Sampled once per map pixel, the GeoTIFF holds the 3DF's grid: drawn from either, the same
// picture, terraced and smooth.
TEST_F(GisCli, AGeoTiffDrawsTheSamePictureAsThe3dfOfTheSameSettings) {
    const std::string levels = " --water 0 --lawn 90 --snow 400";
    for (const char* surface : {"terraced", "smooth"}) {
        const std::string options = std::string("--interval 25 --surface ") + surface;
        ASSERT_EQ(generate("sheet.3df", options).exitCode, 0);
        ASSERT_EQ(generate("sheet.tif", options).exitCode, 0);
        const Outcome fromThe3df = RunCli("render " + Quoted(m_folder.path() / "sheet.3df") + " " +
                                          Quoted(m_folder.path() / "a.bmp"));
        const Outcome fromTheTif = RunCli("render " + Quoted(m_folder.path() / "sheet.tif") + " " +
                                          Quoted(m_folder.path() / "b.bmp") + levels);
        ASSERT_EQ(fromThe3df.exitCode, 0) << fromThe3df.output;
        ASSERT_EQ(fromTheTif.exitCode, 0) << fromTheTif.output;
        EXPECT_EQ(fromTheTif.output, m_folder.file("sheet.tif") + ": 320 x 240 cells\n" +
                                         "152482 triangles drawn to " + m_folder.file("b.bmp") +
                                         " (550x418, shaded)\n");
        EXPECT_TRUE(m_folder.read("a.bmp") == m_folder.read("b.bmp")) << surface;
    }
}

TEST_F(GisCli, RastersTheViewerCannotShowAreRefusedAndNoPictureIsWritten) {
    {
        GDALAllRegister();
        GDALClose(GDALCreate(GDALGetDriverByName("GTiff"), m_folder.file("rgb.tif").c_str(), 4, 4,
                             3, GDT_Byte, nullptr));
    }
    m_folder.write("empty.tif", "");
    const std::pair<const char*, const char*> refused[] = {
        {"rgb.tif", "\"rgb.tif\" has 3 bands: an elevation raster has one.\n"},
        {"empty.tif", "\"empty.tif\" is no elevation raster that can be read.\n"},
    };
    for (const auto& [raster, message] : refused) {
        const Outcome outcome = RunCli("render " + Quoted(m_folder.path() / raster) + " " +
                                       Quoted(m_folder.path() / "p.bmp"));
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.output, message);
    }
    EXPECT_FALSE(fs::exists(m_folder.path() / "p.bmp"));
}

}  // namespace
}  // namespace quarn
