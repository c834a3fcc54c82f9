#include "banded_levels.h"

#include <gtest/gtest.h>

#include <random>

namespace quarn {
namespace {

// Classes 0 to 5 at levels 0, 1, 2, 2, none, 3; every other class none.
LevelBytes SomeLevels() {
    LevelBytes levelOf{};
    levelOf.fill(kNoLevel);
    levelOf[0] = 0, levelOf[1] = 1, levelOf[2] = levelOf[3] = 2, levelOf[5] = 3;
    return levelOf;
}

// Band after band, the level bytes, the levels and runs of each row and the seeds of every
// range of levels agree with a look over the whole map, whatever the band height.
TEST(BandedLevels, SeedsEachBandFromTheWholeMapAroundIt) {
    const LevelBytes levelOf = SomeLevels();
    for (const std::int32_t bandRows : {1, 3, 5, 40}) {
        ClassifiedRaster raster{7, 13, {}};
        std::mt19937 random(static_cast<unsigned>(bandRows));
        std::uniform_int_distribution<int> someClass(0, int{kNoClass});
        for (int i = 0; i < 7 * 13; ++i)
            raster.classes.push_back(static_cast<std::uint8_t>(someClass(random)));
        const auto level = [&](std::int32_t x, std::int32_t y) { return levelOf[raster.at(x, y)]; };
        BandedLevels<std::uint16_t> banded(raster, levelOf, 4, bandRows);
        ASSERT_EQ(banded.bandCount(), (13 + bandRows - 1) / bandRows);
        for (banded.restart(); banded.band() < banded.bandCount(); banded.advance()) {
            const std::int32_t top = banded.top(), bottom = banded.bottom();
            ASSERT_EQ(bottom, std::min(13, top + bandRows));
            for (std::int32_t y = top; y < bottom; ++y) {
                std::uint32_t mask = 0;
                for (std::int32_t x = 0; x < 7; ++x) {
                    EXPECT_EQ(banded.levels()[std::size_t((y - top) * 7 + x)], level(x, y));
                    mask |= LevelBit(level(x, y));
                }
                EXPECT_EQ(banded.rowLevels(y), mask) << y;
                // The runs cover the row from left to right, each as long as its level lasts.
                std::int32_t x = 0;
                for (const LevelRun& run : banded.runs(y)) {
                    ASSERT_EQ(run.columns.begin, x) << y;
                    ASSERT_LT(run.columns.begin, run.columns.end) << y;
                    for (; x < run.columns.end; ++x)
                        EXPECT_EQ(level(x, y), run.level) << x << ", " << y;
                    EXPECT_TRUE(x == 7 || level(x, y) != run.level) << x << ", " << y;
                }
                EXPECT_EQ(x, 7) << y;
            }
            for (std::int32_t from = 0; from <= 4; ++from)
                for (std::int32_t to = from; to <= 4; ++to) {
                    std::vector<std::int32_t> above(7);
                    std::vector<std::uint16_t> below(7);
                    banded.seed(from, to, above.data(), below.data());
                    const auto in = [&](std::int32_t x, std::int32_t y) {
                        return level(x, y) != kNoLevel && level(x, y) >= from && level(x, y) < to;
                    };
                    for (std::int32_t x = 0; x < 7; ++x) {
                        std::int32_t last = -1, first = 0xFFFF;
                        for (std::int32_t y = 0; y < top; ++y)
                            if (in(x, y))
                                last = y;
                        for (std::int32_t y = 12; y >= bottom; --y)
                            if (in(x, y))
                                first = y;
                        EXPECT_EQ(above[std::size_t(x)], last) << bandRows << " " << top;
                        EXPECT_EQ(below[std::size_t(x)], first) << bandRows << " " << top;
                    }
                }
        }
    }
}

}  // namespace
}  // namespace quarn
