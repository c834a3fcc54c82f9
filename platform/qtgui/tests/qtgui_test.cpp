#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "bmp_image.h"
#include "fault_text.h"
#include "temp_folder.h"
#include "test_bmp.h"

namespace quarn {
namespace {

TEST(BmpImage, DecodesAMapAndRefusesWhatItCannotRead) {
    EXPECT_EQ(LoadBmpImage(QUARN_SAMPLES_DIR "/island.bmp").size(), QSize(320, 240));
    // 9 by 3 pixels of 4 bits: 3 rows of 8 bytes after the 118 header and table bytes.
    const auto map = [](std::int32_t offset, std::int32_t width, std::int32_t height,
                        std::uint16_t bits = 4) {
        auto bmp = testing::FourBitImage(9, 3, testing::kMapRgb, [](int x, int) { return x; });
        std::tie(bmp.pixelDataOffset, bmp.width, bmp.height, bmp.bitsPerPixel) =
            std::tuple(offset, width, height, bits);
        return bmp.bytes();
    };
    auto cut = map(118, 9, 3);
    cut.pop_back();
    const char* bad = "Bitmap image is not valid";
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {map(118, 9, 3), "no fault"},
        {map(118, 9, -3), "no fault"},  // top row first
        {std::vector<std::uint8_t>(60, 'x'), bad},
        {cut, bad},
        {map(118, 9, 4), bad},
        {map(118 + 24 + 1, 9, 3), bad},  // the offset just past the end
        {map(-118, 9, 3), bad},
        {map(0, 9, 3), bad},
        {map(118, 0x7FFFFFFF, std::numeric_limits<std::int32_t>::min(), 0xFFFF), bad},
    };
    testing::TempFolder folder;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(
            testing::FaultText([&] { LoadBmpImage(folder.write("map.bmp", cases[i].first)); }),
            cases[i].second)
            << "case " << i;
}

// Mends: the toolkit's default memory limit refused maps above about 5800 x 5800 pixels.
TEST(BmpImage, KeepsAWideMapAsIndexedPixelsBeyondTheToolkitsDefaultLimit) {
    const auto bmp = testing::FourBitImage(16384, 2400, testing::kMapRgb, [](int x, int y) {
        return static_cast<std::uint8_t>((x + y) % 16);
    });
    testing::TempFolder folder;
    const QImage image = LoadBmpImage(folder.write("wide.bmp", bmp.bytes()));
    EXPECT_EQ(image.size(), QSize(16384, 2400));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.pixelIndex(16383, 2399), (16383 + 2399) % 16);
}

}  // namespace
}  // namespace quarn
