#include "shading_batch.h"

#include <gtest/gtest.h>

#include <random>

#include "platform_error.h"

namespace quarn {
namespace {

constexpr float kAmbient = 0.2f, kDiffuse = 0.4f, kSpecular = 0.4f;

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
                                               kSpecular, 0.5f);
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
