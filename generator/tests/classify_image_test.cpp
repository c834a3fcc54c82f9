// Colours to swatch classes, one colour at a time and over whole images.
#include "classify_image.h"

#include <gtest/gtest.h>

#include "map_raster.h"
#include "qt_colour.h"

namespace quarn {
namespace {

TEST(ColorToIndex, ExactMatchLowestIndexWinsAlsoThroughTheCache) {
    SwatchColours swatches{};
    swatches.fill(0xFFFFFF);
    swatches[0] = 0x000000;
    swatches[2] = 0x0000FF;
    swatches[7] = 0x0000FF;
    const struct {
        Colour colour;
        std::uint8_t cls;
    } cases[] = {{0x0000FF, 2}, {0x00FF00, kNoClass}, {0x0000FF, 2},        {0x0000FF, 2},
                 {0xFFFFFF, 1}, {0x000000, 0},        {0xFF0000, kNoClass}, {0xFFFFFE, kNoClass}};
    // The cache answers a repeated colour from its last answer or from what it has seen.
    ColourIndexCache cache(swatches);
    for (const auto& c : cases) {
        EXPECT_EQ(Color_To_Index(c.colour, swatches), c.cls) << c.colour;
        EXPECT_EQ(cache.classOf(c.colour), c.cls) << c.colour;
    }
}

SwatchColours Swatches() {
    SwatchColours s{};
    for (std::size_t e = 0; e < 16; ++e)
        s[e] = static_cast<Colour>(e * 16) | static_cast<Colour>(255 - e * 16) << 8 | 0x400000u;
    return s;
}

TEST(ClassifyImage, IndexedImageGoesThroughItsColourTableToTheLowestSwatch) {
    SwatchColours s = Swatches();
    s[12] = s[5];  // a shared swatch colour goes to the lowest index
    QImage image(3, 2, QImage::Format_Indexed8);
    // Table entry 0 repeats swatch 5's colour, entry 1 swatch 9's; entry 2 matches none.
    image.setColorTable({RgbOf(s[5]), RgbOf(s[9]), qRgb(1, 1, 1), RgbOf(s[5])});
    const uchar indices[2][3] = {{0, 1, 2}, {3, 4, 0}};  // 4 lies outside the table
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, indices[y][x]);
    const ClassifiedRaster r = ClassifyImage(image, s);
    ASSERT_EQ(r.width, 3);
    ASSERT_EQ(r.height, 2);
    EXPECT_EQ(r.classes, (std::vector<std::uint8_t>{5, 9, kNoClass, 5, kNoClass, 5}));
}

class TrueColour : public ::testing::TestWithParam<QImage::Format> {};

TEST_P(TrueColour, PixelsAreMatchedByTheirColour) {
    const SwatchColours s = Swatches();
    QImage image(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, RgbOf(s[static_cast<std::size_t>(x + 4 * y)]));
    image.setPixel(3, 2, qRgb(7, 7, 7));
    const ClassifiedRaster r = ClassifyImage(image.convertToFormat(GetParam()), s);
    ASSERT_EQ(r.classes.size(), 12u);
    for (std::size_t k = 0; k < 11; ++k)
        EXPECT_EQ(r.classes[k], k);
    EXPECT_EQ(r.classes[11], kNoClass);
}

INSTANTIATE_TEST_SUITE_P(Formats, TrueColour,
                         ::testing::Values(QImage::Format_RGB32, QImage::Format_ARGB32,
                                           QImage::Format_RGB888));

TEST(ClassifyImage, NullImageGivesAnEmptyRaster) {
    const ClassifiedRaster r = ClassifyImage(QImage(), Swatches());
    EXPECT_EQ(r.width, 0);
    EXPECT_TRUE(r.classes.empty());
}

}  // namespace
}  // namespace quarn
