// Map cleaning on small made-up images: shading, fringes, linework, band finding, legends and
// the BMP written.
#include <gtest/gtest.h>

#include <functional>

#include "map_import.h"

namespace quarn {
namespace {

constexpr Colour kRed = PackRGB(200, 40, 40), kGreen = PackRGB(60, 170, 70),
                 kBlue = PackRGB(50, 90, 200), kYellow = PackRGB(230, 220, 90);

RgbImage Image(std::int32_t w, std::int32_t h, const std::function<Colour(int, int)>& colour) {
    RgbImage image{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.pixels.push_back(colour(x, y));
    return image;
}

Colour Scaled(Colour c, double f) {
    const auto channel = [f](Colour v) { return std::min(255, static_cast<int>((v & 255) * f)); };
    return PackRGB(channel(c), channel(c >> 8), channel(c >> 16));
}

// Left half red, right half green, the given linework drawn over them.
RgbImage Halves(const std::function<bool(int, int)>& line) {
    return Image(40, 30, [&](int x, int y) {
        return line(x, y) ? PackRGB(0, 0, 0) : x < 20 ? kRed : kGreen;
    });
}

Colour BandAt(const BandMap& map, int x, int y) {
    return map.palette[map.indices[static_cast<std::size_t>(y * map.width + x)]];
}

BandMap Clean(const RgbImage& image, CleaningOptions options) {
    Cleaning cleaning = CleanMap(image, options);
    EXPECT_EQ(cleaning.refusal, "");
    return cleaning.map.value();
}

TEST(MapImport, ShadedPixelsTakeTheNearestBand) {
    const std::vector<Colour> bands{kRed, kGreen, kBlue, kYellow};
    const RgbImage image = Image(40, 40, [&](int x, int y) {
        return Scaled(bands[static_cast<std::size_t>(x / 10)], 0.75 + 0.5 * y / 39.0);
    });
    const BandMap map = Clean(image, {bands, 0, Linework::Remove});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(BandAt(map, x, y), bands[static_cast<std::size_t>(x / 10)]) << x << "," << y;
}

TEST(MapImport, ATintThatIsAShadeOfAnotherKeepsItsOwnBand) {
    const Colour darkGreen = PackRGB(45, 128, 53);  // kGreen blended a quarter with black
    const RgbImage image = Image(20, 10, [&](int x, int y) {
        return Scaled(x < 10 ? kGreen : darkGreen, 0.99 + 0.02 * ((x + y) % 3) / 2.0);
    });
    const BandMap map = Clean(image, {{kGreen, darkGreen}, 0, Linework::Remove});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(BandAt(map, x, y), x < 10 ? kGreen : darkGreen) << x << "," << y;
}

TEST(MapImport, FringePixelsTakeTheirNeighboursBand) {
    const RgbImage image = Image(20, 10, [](int x, int) {
        return x < 10 ? kRed : x == 10 ? PackRGB(130, 105, 55) : kGreen;
    });
    const BandMap map = Clean(image, {{kRed, kGreen, kBlue}, 0, Linework::Remove});
    for (int y = 0; y < 10; ++y)
        EXPECT_NE(BandAt(map, 10, y), kBlue);
    EXPECT_DOUBLE_EQ(map.shares[2], 0.0);
}

TEST(MapImport, LinesAndLetteringAreFilledFromTheBandsAround) {
    RgbImage image = Halves([](int x, int y) {
        return x == 20 || y == 15 || (x >= 4 && x <= 6 && y >= 3 && y <= 8) ||
               (x >= 30 && x <= 33 && y == 24);
    });
    // The grey ringing that compression leaves beside a line goes with it.
    for (int y = 0; y < 30; ++y)
        image.pixels[static_cast<std::size_t>(y * 40 + 21)] = PackRGB(150, 90, 80);
    const BandMap removed = Clean(image, {{}, 0, Linework::Remove});
    ASSERT_EQ(removed.palette.size(), 2u);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if (x != 20) {
                ASSERT_EQ(BandAt(removed, x, y), x < 20 ? kRed : kGreen) << x << "," << y;
            }
    const BandMap kept = Clean(image, {{}, 0, Linework::Keep});
    ASSERT_EQ(kept.palette.size(), 3u);
    EXPECT_EQ(BandAt(kept, 20, 3), PackRGB(0, 0, 0));
    EXPECT_EQ(BandAt(kept, 3, 3), kRed);
}

TEST(MapImport, StrayPixelsAndSmallRegionsTakeTheBandAroundThem) {
    // Noise keeps the image from being a clean map, which is taken as it is.
    const RgbImage image = Image(160, 120, [](int x, int y) {
        const bool stray = x == 10 && y == 10;
        const bool smallRegion = x >= 20 && x < 24 && y >= 20 && y < 24;
        const bool largeRegion = x >= 100 && y >= 60;
        const Colour tint = stray || smallRegion || largeRegion ? kBlue : kYellow;
        return Scaled(tint, 0.97 + 0.06 * ((x * 5 + y * 3) % 7) / 6.0);
    });
    const BandMap map = Clean(image, {{kYellow, kBlue}, 0, Linework::Remove});
    EXPECT_EQ(BandAt(map, 10, 10), kYellow);
    EXPECT_EQ(BandAt(map, 21, 21), kYellow);
    for (int y = 62; y < 120; ++y)  // the majority filter may round its corner
        for (int x = 102; x < 160; ++x)
            ASSERT_EQ(BandAt(map, x, y), kBlue) << x << "," << y;
}

TEST(MapImport, WideDarkAreasAreABand) {
    const RgbImage image = Halves([](int x, int) { return x >= 30; });
    EXPECT_EQ(Clean(image, {{}, 0, Linework::Remove}).palette.size(), 3u);
}

TEST(MapImport, BandsAreFoundDeterministically) {
    const std::vector<Colour> bands{kRed, kGreen, kBlue, kYellow};
    const RgbImage image = Image(64, 64, [&](int x, int y) {
        const double noise = 0.9 + 0.2 * ((x * 7 + y * 13) % 11) / 10.0;
        return Scaled(bands[static_cast<std::size_t>((x / 16 + y / 32) % 4)], noise);
    });
    const BandMap automatic = Clean(image, {{}, 0, Linework::Remove});
    EXPECT_EQ(automatic.palette.size(), 4u);
    EXPECT_EQ(Clean(image, {{}, 0, Linework::Remove}).palette, automatic.palette);
    EXPECT_EQ(Clean(image, {{}, 3, Linework::Remove}).palette.size(), 3u);
}

TEST(MapImport, ASixteenColourImageKeepsEveryColourAndPixel) {
    const RgbImage image = Image(64, 48, [](int x, int y) {
        const int i = (x == 3 && y == 3) ? 15 : x / 8 % 4 + 4 * (y / 12);
        return PackRGB(i * 16, 255 - i * 8, (i % 3) * 120);
    });
    const BandMap map = Clean(image, {{}, 0, Linework::Remove});
    ASSERT_EQ(map.palette.size(), 16u);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(BandAt(map, x, y), image.pixel(x, y));
}

TEST(MapImport, ABadlyMatchingLegendIsRefusedWithItsShare) {
    const Cleaning cleaning =
        CleanMap(Halves([](int x, int) { return x >= 30; }), {{kGreen, kBlue}});
    EXPECT_EQ(cleaning.refusal,
              "The legend does not fit the map: only 25% of its pixels are near a legend colour");
}

TEST(Legend, ReadsGdaldemColourText) {
    const LegendReading legend =
        ParseLegend("# heights\n100 200 40 40\n\n250.5,60,170,70,255 # lawn\n+400:50\t90 200\r\n");
    ASSERT_EQ(legend.refusal, "");
    ASSERT_EQ(legend.entries.size(), 3u);
    EXPECT_EQ(legend.entries[1].elevation, 250.5);
    EXPECT_EQ(legend.entries[2].colour, kBlue);
}

TEST(Legend, RefusalsNameTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 0 0 0\n50% 1 2 3", "Line 2: a percentage elevation (50%) is not taken, only heights"},
        {"nv 0 0 0", "Line 1: \"nv\" (no data) is not a band"},
        {"1 1 2 3\n# x\n2 1 2 3", "Line 3: the colour of line 1 again"},
        {"1 1 256 3", "Line 1: colour component 256 is outside 0 to 255"},
        {"1 1 2", "Line 1: takes ELEVATION R G B [A]"},
        {"1x 1 2 3", "Line 1: \"1x\" is not an elevation"},
        {"1 1 2.5 3", "Line 1: \"2.5\" is not a whole number"},
        {"# none", "The legend names no band"}};
    for (const auto& [text, refusal] : cases)
        EXPECT_EQ(ParseLegend(text).refusal, refusal);
    std::string seventeen;
    for (int i = 0; i < 17; ++i)
        seventeen += std::to_string(i) + " " + std::to_string(i) + " 0 0\n";
    EXPECT_EQ(ParseLegend(seventeen).refusal, "Line 17: more than 16 bands");
}

TEST(BandBmp, WritesFourBitsBottomUpWithThePalette) {
    const BandMap map{3, 2, {0, 1, 2, 2, 1, 0}, {kRed, kGreen, kBlue}, {}, {}};
    MemorySink sink;
    BinaryWriter out(sink);
    WriteBandBmp(out, map);
    const auto& bytes = sink.bytes();
    ASSERT_EQ(bytes.size(), 118u + 8u);
    EXPECT_EQ(bytes[28], 4);              // bits per pixel
    EXPECT_EQ(bytes[54 + 4 * 2], 200);    // blue of band 2
    EXPECT_EQ(bytes[54 + 4 * 3 + 2], 0);  // unused entries black
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 118, bytes.end()),
              (std::vector<std::uint8_t>{0x21, 0x00, 0, 0, 0x01, 0x20, 0, 0}));
}

}  // namespace
}  // namespace quarn
