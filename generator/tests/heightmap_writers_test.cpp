// The 16-bit heightmaps of a 30 x 20 map on a 3 x 2 grid whose vertices stand at -40 (a height
// of -60 raised to the Water level), 12 and 47 map units.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdint>
#include <vector>

#include "fault_text.h"
#include "generator_test_support.h"
#include "grey16_image.h"
#include "heightmap16.h"
#include "qt_png_writer.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "terrain_file.h"
#include "write_png16.h"

namespace quarn {
namespace {

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
    WrittenFile Write(const std::string& name) {
        const std::string file = folder.file(name);
        return WriteTerrainFile(setup, raster, file, *FormatOfFile(file));
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
