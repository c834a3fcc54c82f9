#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "bmp_image.h"
#include "platform_error.h"
#include "qt_colour.h"

namespace quarn {
namespace {

TEST(QtColour, RedGoesToTheLowByteAndBack) {
    const struct {
        QRgb rgb;
        Colour colour;
    } cases[] = {{0xFF302010u, 0x102030u}, {0x00010203u, 0x030201u}, {0xFFFFFFFFu, 0xFFFFFFu}};
    for (const auto& c : cases) {
        EXPECT_EQ(ColourOfRgb(c.rgb), c.colour) << std::hex << c.rgb;
        EXPECT_EQ(RgbOf(c.colour), c.rgb | 0xFF000000u) << std::hex << c.colour;
    }
}

TEST(BmpImage, DecodesAMapAndRefusesWhatItCannotRead) {
    EXPECT_EQ(LoadBmpImage(QUARN_SAMPLES_DIR "/island.bmp").size(), QSize(320, 240));
    QTemporaryDir dir;
    const std::string text = dir.filePath("text.bmp").toStdString();
    std::ofstream(text) << "not a picture at all, however long it grows";
    try {
        LoadBmpImage(text);
        FAIL() << "no error";
    } catch (const PlatformError& e) {
        EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
}

}  // namespace
}  // namespace quarn
