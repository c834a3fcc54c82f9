#include "shading.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>

#include "platform_error.h"
#include "shading_batch.h"

namespace quarn {
namespace {

constexpr float kAmbient = 0.2f, kDiffuse = 0.4f, kSpecular = 0.4f, kExponent = 0.5f;

// The worked triangle: centroid (0, 5, 0), normal (0, -3, 0).
constexpr Vec3 kP1{1, 5, -1}, kP2{-1, 5, 0}, kP3{0, 5, 1};
constexpr Vec3 kFrontLight{0, -5, 0};  // intensity 1.0
constexpr Vec3 kBackLight{0, 20, 0};   // intensity 0.2, the ambient part only
constexpr Vec3 kSideLight{3, -4, 0};   // intensity 0.9794349

Colour ShadeWorkedTriangle(Vec3 light, float hue) {
    return ComputeShadedColour(kP1, kP2, kP3, light, hue, kAmbient, kDiffuse, kSpecular, kExponent);
}

TEST(Shading, WorkedTriangleGivesTheExpectedComponents) {
    // Colours as 0xBBGGRR, red in the low byte.
    const struct {
        const char* name;
        Vec3 light;
        float hue;
        Colour colour;
    } cases[] = {
        // The colour codes at full intensity and at the ambient intensity alone.
        {"WaterFull", kFrontLight, 216, 0xFF6600},  // (0, 102, 255)
        {"LawnFull", kFrontLight, 120, 0x00FF00},
        {"SlopeFull", kFrontLight, 24, 0x0066FF},  // (255, 102, 0)
        {"SnowFull", kFrontLight, kNoHue, 0xFFFFFF},
        {"WaterAmbient", kBackLight, 216, 0x332D29},  // (41, 45, 51)
        {"SnowAmbient", kBackLight, kNoHue, 0x333333},
        // Lit from the side: diffuse 0.9486833 and a specular cosine just under 1.
        {"SlopeSideLit", kSideLight, 24, 0x0567FA},  // (250, 103, 5)
        {"SnowSideLit", kSideLight, kNoHue, 0xFAFAFA},
        // No sextant for these hues, so the colour stays the grey of the intensity.
        {"HueAbove360", kFrontLight, 400, 0xFFFFFF},
        // The light vector has no length; the specular cosine of -M = 0 is 1 as well.
        {"LightAtTheCentroid", {0, 5, 0}, kNoHue, 0xFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShadeWorkedTriangle(c.light, c.hue), c.colour) << c.name;
}

TEST(Shading, DegenerateTrianglesAndGreyLevelHalves) {
    // No normal: the diffuse term is 1, the specular cosine -0.9952285 gives no highlight.
    const Vec3 p{1, 5, 0};
    EXPECT_EQ(
        ComputeShadedColour(p, p, p, kFrontLight, 120, kAmbient, kDiffuse, kSpecular, kExponent),
        0x3D993Du);  // (61, 153, 61)
    const Vec3 a{1, 0, 0}, b{0, 1, 0}, c{0, 0, 1};
    // Only the ambient term counts: 255 * 0.5 = 127.5 gives 128.
    EXPECT_EQ(ComputeShadedColour(a, b, c, kFrontLight, kNoHue, 0.5f, 0, 0, kExponent), 0x808080u);
    // 255 * 1.5 = 382.5 gives 382 = 0x17E (rounding half up would give 383); only its low byte
    // counts.
    EXPECT_EQ(ComputeShadedColour(a, b, c, kFrontLight, kNoHue, 1.5f, 0, 0, kExponent), 0x7E7E7Eu);
}

TEST(HSVToRGB, SextantsGreysAndHuesWithoutASextant) {
    const auto hsv = [](float hue, float saturation, float value) {
        float r = -1, g = -2, b = -3;
        HSVToRGB(hue, saturation, value, r, g, b);
        return std::array{r, g, b};
    };
    const struct {
        float hue, r, g, b;
    } sextants[] = {{0, 1, 0, 0},   {30, 1, 0.5f, 0}, {60, 1, 1, 0},  {120, 0, 1, 0},
                    {180, 0, 1, 1}, {240, 0, 0, 1},   {300, 1, 0, 1}, {360, 1, 0, 0}};
    for (const auto& c : sextants) {
        const auto rgb = hsv(c.hue, 1, 1);
        EXPECT_FLOAT_EQ(rgb[0], c.r) << c.hue;
        EXPECT_FLOAT_EQ(rgb[1], c.g) << c.hue;
        EXPECT_FLOAT_EQ(rgb[2], c.b) << c.hue;
    }
    for (const float hue : {0.0f, 216.0f, 1000.0f, kNoHue})
        EXPECT_EQ(hsv(hue, 0, 0.3f), (std::array{0.3f, 0.3f, 0.3f})) << hue;
    // Without a sextant the outputs are left as they were.
    for (const float hue : {360.5f, 400.0f, -60.0f, -100.0f})
        EXPECT_EQ(hsv(hue, 1, 1), (std::array{-1.0f, -2.0f, -3.0f})) << hue;
}

// Triangles of every size from a thousandth to 1e12 and hues inside and outside the sextants:
// where the batch is sure, its colour is ComputeShadedColour's; where the bound says the
// shading cannot fault, it does not.
TEST(ShadeBlock, GivesComputeShadedColourWhereSureAndTheBoundHolds) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    const float scales[] = {1e-3f, 1.0f, 30.0f, 1e3f, 1e6f, 1e9f, 1e12f};
    const float hues[] = {216, 120, 24, kNoHue, 0, 360, 359, -59, -60, 400, 2e9f};
    std::size_t sure = 0, bounded = 0;
    for (int blockNumber = 0; blockNumber < 300; ++blockNumber) {
        ShadeBlockInput block;
        const float scale = scales[std::size_t(blockNumber) % std::size(scales)];
        const Vec3 light{unit(random) * 10, unit(random) * 10, unit(random) * 10};
        for (std::size_t k = 0; k < kShadeBlockSize; ++k) {
            float* coordinates[] = {block.x1, block.y1, block.z1, block.x2, block.y2,
                                    block.z2, block.x3, block.y3, block.z3};
            for (float* c : coordinates)
                c[k] = unit(random) * scale;
            block.hue[k] = hues[k % std::size(hues)];
        }
        Colour colours[kShadeBlockSize];
        std::uint32_t unsure[kShadeBlockSize];
        ShadeBlock(block, kShadeBlockSize, light, kAmbient, kDiffuse, kSpecular, colours, unsure);
        for (std::size_t k = 0; k < kShadeBlockSize; ++k) {
            const Vec3 p1{block.x1[k], block.y1[k], block.z1[k]},
                p2{block.x2[k], block.y2[k], block.z2[k]},
                p3{block.x3[k], block.y3[k], block.z3[k]};
            Colour expected = 0;
            bool faulted = false;
            try {
                expected = ComputeShadedColour(p1, p2, p3, light, block.hue[k], kAmbient, kDiffuse,
                                               kSpecular, kExponent);
            } catch (const PlatformError&) {
                faulted = true;
            }
            if (ShadingSurelyFinite(p1, p2, p3, light)) {
                ++bounded;
                EXPECT_FALSE(faulted) << "scale " << scale;
            }
            if (!unsure[k]) {
                ++sure;
                EXPECT_FALSE(faulted) << "scale " << scale;
                EXPECT_EQ(colours[k], expected) << "scale " << scale << " hue " << block.hue[k];
            }
        }
    }
    // The quick arithmetic decides all but the largest, which overflow; the bound, which
    // must hold for every triangle of a scene, clears the sizes of terrains.
    const std::size_t all = 300 * kShadeBlockSize;
    EXPECT_GT(sure, all / 2);
    EXPECT_GT(bounded, all * 3 / 7);
}

}  // namespace
}  // namespace quarn
