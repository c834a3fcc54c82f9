// The terrain file frame and its four formats, on the 2 x 2 grid of a 20 x 20 map with one
// height everywhere: cell centres at x, y = -0.47368422 and 0.57894737, z = 2.5, two mountain
// triangles (0, 1, 3) and (0, 3, 2). The 16-bit heightmaps of a 30 x 20 map on a 3 x 2 grid
// whose vertices stand at -40 (a height of -60 raised to the Water level), 12 and 47 map units.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "busy_cursor.h"
#include "elevation_raster.h"
#include "fault_text.h"
#include "generator_test_support.h"
#include "grey16_image.h"
#include "heightmap16.h"
#include "map_place.h"
#include "map_unit_height.h"
#include "output_formats.h"
#include "qt_png_writer.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "terrain_file.h"
#include "write_3df.h"
#include "write_png16.h"

namespace quarn {
namespace {

using testing::TempFolder;

// Counts the busy cursor's show and restore calls while it lives.
struct CursorCounter {
    int shown = 0, restored = 0;
    CursorCounter() {
        SetBusyCursorHooks([this] { ++shown; }, [this] { ++restored; });
    }
    ~CursorCounter() { SetBusyCursorHooks(nullptr, nullptr); }
};

class TerrainWriters : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Set_Grid(testing::TwoByTwoFields(), raster.width, raster.height, setup));
    }

    using Writer = bool (*)(const GridSetup&, const ClassifiedRaster&, const std::string&);
    std::string Written(Writer write, const std::string& name) {
        EXPECT_TRUE(write(setup, raster, folder.file(name)));
        return folder.read(name);
    }

    testing::ScriptedUi ui;
    TempFolder folder;
    ClassifiedRaster raster = testing::UniformRaster(20, 20, 0);
    GridSetup setup;
};

void AppendInt(std::string& out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>(u >> shift));
}

TEST_F(TerrainWriters, ThreeDFIsNinetyOneExactBytesWrittenUnderOneBusyCursor) {
    CursorCounter cursor;
    ASSERT_TRUE(Write_3DF(setup, raster, folder.file("hills.3df")));
    EXPECT_EQ(cursor.shown, 1);
    EXPECT_EQ(cursor.restored, 1);
    std::string expected{0x03, 0x33, 0x44};
    AppendInt(expected, 4);
    const float lo = -0.47368422f, hi = 0.57894737f;
    for (const auto& [x, y] : {std::pair{lo, -lo}, {hi, -lo}, {lo, -hi}, {hi, -hi}})
        for (const float value : {x, y, 2.5f})
            AppendInt(expected, std::bit_cast<std::int32_t>(value));
    AppendInt(expected, 2);
    for (const std::int32_t field : {0, 1, 3, kMountainCode, 0, 3, 2, kMountainCode})
        AppendInt(expected, field);
    ASSERT_EQ(expected.size(), 91u);
    EXPECT_EQ(folder.read("hills.3df"), expected);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"hills.3df"});
}

// A mesh of several encoding blocks and thread bands (1200 x 1200 vertices: 17 MB of vertices,
// 46 MB of triangles) gives exactly the bytes of its records written one field at a time.
TEST(ThreeDFFormat, LargeMeshIsItsRecordsFieldByField) {
    TerrainMesh mesh;
    mesh.cols = mesh.rows = 1200;
    mesh.levels.water = 0.1f, mesh.levels.lawn = 0.3f, mesh.levels.snow = 0.6f;
    for (std::int32_t k = 0; k < mesh.cols * mesh.rows; ++k)
        mesh.vertices.push_back({static_cast<float>(k % 1200), static_cast<float>(k / 1200),
                                 static_cast<float>(k % 997) / 1000});
    MemorySink blocks, fields;
    BinaryWriter blockOut(blocks), fieldOut(fields);
    Format3DF(blockOut, mesh);
    WriteTdfHeader(fieldOut);
    fieldOut.writeInt32(mesh.cols * mesh.rows);
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k)
        WriteVertex(fieldOut, mesh.fileVertex(k));
    fieldOut.writeInt32(mesh.triangleCount());
    ForEachTriangle(mesh, [&](const Triangle& t) { WriteTriangle(fieldOut, t); });
    ASSERT_EQ(blocks.bytes().size(),
              static_cast<std::size_t>(TdfFileSize(1200 * 1200, 2 * 1199 * 1199)));
    EXPECT_TRUE(blocks.bytes() == fields.bytes());
}

TEST_F(TerrainWriters, TextFormatsOfTheTwoByTwoGrid) {
    EXPECT_EQ(Written(Write_ASC, "hills.asc"),
              "Named object: \"Quarn terrain\"\n"
              "Tri-mesh, Vertices: 4 Faces: 2\n"
              "Vertex list:\n"
              "Vertex 0: X: -0.47368422 Y: 0.47368422 Z: 2.5\n"
              "Vertex 1: X: 0.57894737 Y: 0.47368422 Z: 2.5\n"
              "Vertex 2: X: -0.47368422 Y: -0.57894737 Z: 2.5\n"
              "Vertex 3: X: 0.57894737 Y: -0.57894737 Z: 2.5\n"
              "Face list:\n"
              "Face 0: A:0 B:1 C:3 AB:1 BC:1 CA:1\n"
              "Material:\"MOUNTAIN\"\n"
              "Face 1: A:0 B:3 C:2 AB:1 BC:1 CA:1\n"
              "Material:\"MOUNTAIN\"\n");
    EXPECT_EQ(Written(Write_RAW, "hills.raw"),
              "-0.47368422 0.47368422 2.5 0.57894737 0.47368422 2.5 0.57894737 -0.57894737 2.5\n"
              "-0.47368422 0.47368422 2.5 0.57894737 -0.57894737 2.5 -0.47368422 -0.57894737 "
              "2.5\n");
    EXPECT_EQ(Written(Write_PLG, "hills.plg"),
              "# Quarn 3D terrain\n"
              "quarn_terrain 4 2\n"
              "-0.47368422 0.47368422 2.5\n"
              "0.57894737 0.47368422 2.5\n"
              "-0.47368422 -0.57894737 2.5\n"
              "0.57894737 -0.57894737 2.5\n"
              "0x13ff 3 0 1 3\n"
              "0x13ff 3 0 3 2\n");
}

const std::vector<std::uint16_t> kSamples = {0, 39170, 65535, 65535, 39170, 0};

class HeightmapWriters : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallQtPngWriter();
        for (const auto& [cls, height] :
             {std::pair{std::size_t{1}, "-60"}, {std::size_t{2}, "12"}, {std::size_t{3}, "47"}})
            fields.heights[cls] = height;
        for (int col = 0; col < 3; ++col) {
            testing::Paint(raster, 10 * col, 0, 10, 10, static_cast<std::uint8_t>(col + 1));
            testing::Paint(raster, 10 * col, 10, 10, 10, static_cast<std::uint8_t>(3 - col));
        }
        ASSERT_TRUE(Set_Grid(fields, raster.width, raster.height, setup));
    }
    void TearDown() override { SetGrey16PngEncoder(nullptr); }

    // Writes name in the format its extension chooses, as the generate command does.
    WrittenFile Write(const std::string& name, const ExportOptions& options = {}) {
        const std::string file = folder.file(name);
        return WriteTerrainFile(setup, raster, file, *FormatOfFile(file), options);
    }

    testing::ScriptedUi ui;
    testing::TempFolder folder;
    GeneratorFields fields = testing::Fields("-40", "0", "100", "150", "100", "50");
    ClassifiedRaster raster = testing::UniformRaster(30, 20, 0);
    GridSetup setup;
};

TEST_F(HeightmapWriters, R16IsTheSamplesAsLittleEndianWordsScaledLikeThe3dfHeights) {
    const WrittenFile written = Write("land.r16");
    ASSERT_TRUE(written.written && written.heightRange);
    const std::string bytes = folder.read("land.r16");
    std::vector<std::uint16_t> samples;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                     static_cast<std::uint8_t>(bytes[i + 1]) << 8));
    EXPECT_EQ(bytes.size(), 12u);
    EXPECT_EQ(samples, kSamples);
    EXPECT_EQ(HeightRangeText(*written.heightRange), "-40..47 map units");
    const TerrainMesh mesh = testing::SampleOnGrid(fields, raster);
    const auto z = [&](std::size_t k) { return double{mesh.fileVertex(k).z}; };
    EXPECT_EQ(std::nearbyint((z(1) - z(0)) / (z(2) - z(0)) * 65535), kSamples[1]);
}

TEST_F(HeightmapWriters, PngIsA16BitGreyPictureWithItsHeightRangeInAText) {
    const WrittenFile written = Write("land.png");
    ASSERT_TRUE(written.written && written.heightRange);
    EXPECT_EQ(HeightRangeText(*written.heightRange), "-40..47 map units");
    const QImage image(QString::fromStdString(folder.file("land.png")), "png");
    EXPECT_EQ(image.format(), QImage::Format_Grayscale16);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.text(kHeightRangeKey).toStdString(), "-40..47 map units");
    std::vector<std::uint16_t> samples;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            samples.push_back(reinterpret_cast<const std::uint16_t*>(image.constScanLine(y))[x]);
    EXPECT_EQ(samples, kSamples);
}

// The map is 150 x 100 map units over 30 x 20 pixels, a sample every 10 pixels: each GeoTIFF
// pixel covers 50 x 50 map units, or 25 x 25 metres on a map placed 2.5 metres a pixel.
TEST_F(HeightmapWriters, GeoTiffHoldsThe3dfHeightsInMapUnitsWhereTheMapLies) {
    const WrittenFile written = Write("land.tif");
    ASSERT_TRUE(written.written && written.samplesSummary);
    EXPECT_EQ(*written.samplesSummary, "3 x 2 samples, heights -40..47 map units");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"land.tif"});
    const auto unplaced = ReadElevationRaster(folder.file("land.tif"));
    ASSERT_TRUE(unplaced);
    EXPECT_EQ(unplaced->grid.place.transform, (std::array<double, 6>{0, 50, 0, 0, 0, -50}));
    EXPECT_EQ(unplaced->grid.place.wkt, "");
    const TerrainMesh mesh = testing::SampleOnGrid(fields, raster);
    // The typed heights as typed, each normalising back to the 3DF's height exactly.
    EXPECT_EQ(unplaced->grid.heights, (std::vector<float>{-40, 12, 47, 47, 12, -40}));
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k)
        EXPECT_EQ(WrittenZ(NormalisedHeight(unplaced->grid.heights[k], 150)), mesh.fileVertex(k).z);

    const std::string utm = *CoordinateSystemWkt("EPSG:32633");
    const ExportOptions placed{.mapPlace = Georeference{{500000, 2.5, 0, 5200000, 0, -2.5}, utm}};
    Write("land.tif", placed);
    const auto onEarth = ReadElevationRaster(folder.file("land.tif"));
    ASSERT_TRUE(onEarth);
    EXPECT_EQ(onEarth->grid.place.transform,
              (std::array<double, 6>{500000, 25, 0, 5200000, 0, -25}));
    EXPECT_NE(onEarth->grid.place.wkt.find("UTM zone 33N"), std::string::npos);
    EXPECT_EQ(onEarth->grid.heights, unplaced->grid.heights);

    ExportOptions named = placed;
    named.coordinateSystem = *CoordinateSystemWkt("EPSG:25832");
    Write("land.tif", named);
    EXPECT_NE(ReadElevationRaster(folder.file("land.tif"))->grid.place.wkt.find("ETRS89"),
              std::string::npos);
}

TEST_F(HeightmapWriters, HeightmapsOfAPlacedMapCarryTheirPlaceBesideThem) {
    Write("land.png");
    Write("land.r16");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"land.hdr", "land.png", "land.r16"}));
    const std::string header = folder.read("land.hdr");
    EXPECT_NE(header.find("samples = 3\nlines = 2\n"), std::string::npos);
    EXPECT_EQ(header.find("map info"), std::string::npos);

    const ExportOptions placed{.mapPlace = Georeference{{500000, 2.5, 0, 5200000, 0, -2.5},
                                                        *CoordinateSystemWkt("EPSG:32633")}};
    Write("land.png", placed);
    Write("land.r16", placed);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"land.hdr", "land.pgw", "land.png",
                                                          "land.prj", "land.r16"}));
    const MapPlace png = ReadMapPlace(folder.file("land.png"));
    ASSERT_TRUE(png.place);
    EXPECT_EQ(png.place->transform, (std::array<double, 6>{500000, 25, 0, 5200000, 0, -25}));
    EXPECT_NE(png.place->wkt.find("UTM zone 33N"), std::string::npos);
    EXPECT_NE(folder.read("land.hdr").find("map info = {Arbitrary, 1, 1, 500000, 5200000, 25, 25}"),
              std::string::npos);
}

TEST(HeightmapSamples, FlatTerrainIsAllZeroAndPngNeedsAnInstalledWriter) {
    const auto raster = testing::UniformRaster(20, 20, 0);
    const Heightmap16 map =
        MakeHeightmap16(testing::SampleOnGrid(testing::TwoByTwoFields(), raster), 100);
    EXPECT_EQ(map.samples, std::vector<std::uint16_t>(4, 0));
    EXPECT_EQ(HeightRangeText(map.range), "100..100 map units");
    EXPECT_EQ(testing::FaultText([&] {
                  EncodeGrey16Png({2, 2, map.samples, "k", "v"});
              }),
              "No PNG writer installed");
}

}  // namespace
}  // namespace quarn
