// Map images of the common formats read into plain pixels, and the files refused.
#include <gtest/gtest.h>

#include <QImage>
#include <tuple>

#include "fault_text.h"
#include "map_image.h"
#include "temp_folder.h"
#include "test_bmp.h"

namespace quarn {
namespace {

TEST(MapImage, ReadsTheCommonFormatsAsRgb) {
    testing::TempFolder folder;
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 10));
    picture.setPixelColor(4, 2, QColor(0, 128, 255));
    const std::pair<const char*, QImage> cases[] = {
        {"map.png", picture},
        {"map16.png", picture.convertToFormat(QImage::Format_RGBX64)},
        {"map8.png", picture.convertToFormat(QImage::Format_Indexed8)},
        {"map.bmp", picture.convertToFormat(QImage::Format_Indexed8)}};
    for (const auto& [name, image] : cases) {
        const std::string file = folder.file(name);
        ASSERT_TRUE(image.save(QString::fromStdString(file))) << name;
        const RgbImage rgb = LoadMapImage(file);
        EXPECT_EQ(std::tie(rgb.width, rgb.height), std::tuple(5, 3)) << name;
        EXPECT_EQ(rgb.pixel(0, 0), PackRGB(200, 40, 10)) << name;
        EXPECT_EQ(rgb.pixel(4, 2), PackRGB(0, 128, 255)) << name;
    }
}

TEST(MapImage, RefusesWhatItCannotReadAndOversizedImagesFromTheirHeader) {
    testing::TempFolder folder;
    const std::string junk = folder.write("junk.png", std::string(100, 'x'));
    EXPECT_EQ(testing::FaultText([&] { LoadMapImage(junk); }),
              junk + ": not an image the program can read");
    const std::string missing = folder.file("missing.jpg");
    EXPECT_EQ(testing::FaultText([&] { LoadMapImage(missing); }), missing + ": file not found");
    auto bmp = testing::FourBitImage(9, 3, testing::kMapRgb, [](int, int) { return 0; });
    std::tie(bmp.width, bmp.height) = std::tuple(20000, 9000);
    const std::string huge = folder.write("huge.bmp", bmp.bytes());
    EXPECT_EQ(testing::FaultText([&] { LoadMapImage(huge); }),
              huge + ": 20000 x 9000 pixels, larger than 16384 x 16384");
}

}  // namespace
}  // namespace quarn
