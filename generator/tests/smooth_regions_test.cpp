#include "smooth_regions.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace quarn {
namespace {

// Classes 0 and 2 share a height, class 5 has none set, kNoClass matches no swatch.
NormalisedLevels FourClasses() {
    NormalisedLevels levels;
    const float heights[] = {1, 2, 1, 3};
    for (std::size_t e = 0; e < 4; ++e)
        levels.norm[e] = heights[e], levels.set[e] = true;
    levels.norm[5] = 9;
    return levels;
}

// Blobs of random classes: each pixel mostly repeats its left or upper neighbour.
ClassifiedRaster RandomBlobs(std::int32_t width, std::int32_t height, unsigned seed) {
    const std::uint8_t classes[] = {0, 1, 2, 3, 5, kNoClass};
    ClassifiedRaster raster{width, height, {}};
    std::mt19937 random(seed);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            const auto pick = random() % 10;
            raster.classes.push_back(pick < 4 && x > 0   ? raster.at(x - 1, y)
                                     : pick < 7 && y > 0 ? raster.at(x, y - 1)
                                                         : classes[random() % 6]);
        }
    return raster;
}

// The regions by flood fill, numbered in order of their first pixel.
std::vector<std::int32_t> FloodFill(const ClassifiedRaster& raster, const Bands& bands) {
    const std::int32_t w = raster.width, h = raster.height;
    const auto level = [&](std::int32_t x, std::int32_t y) {
        return bands.levelOf[raster.at(x, y)];
    };
    std::vector<std::int32_t> label(raster.classes.size(), kNone);
    std::int32_t count = 0;
    for (std::int32_t start = 0; start < w * h; ++start) {
        if (label[std::size_t(start)] != kNone || level(start % w, start / w) == kNone)
            continue;
        std::vector<std::int32_t> todo{start};
        label[std::size_t(start)] = count;
        while (!todo.empty()) {
            const std::int32_t i = todo.back(), x = i % w, y = i / w;
            todo.pop_back();
            const std::pair<std::int32_t, std::int32_t> around[] = {
                {x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& [nx, ny] : around)
                if (nx >= 0 && ny >= 0 && nx < w && ny < h &&
                    label[std::size_t(ny * w + nx)] == kNone && level(nx, ny) == level(x, y)) {
                    label[std::size_t(ny * w + nx)] = count;
                    todo.push_back(ny * w + nx);
                }
        }
        ++count;
    }
    return label;
}

// Labels, bands, areas, edges shared with lower and higher bands and the touch of the map's
// edge all agree with a flood fill, on maps of any shape.
TEST(LabelRegions, AgreeWithAFloodFill) {
    const Bands bands = BandsOf(FourClasses());
    ASSERT_EQ(bands.heights.size(), 3u);
    // Blobs, and a chequerboard of two bands whose 67600 one-pixel regions need labels of
    // 4 bytes.
    ClassifiedRaster chequers{260, 260, {}};
    for (std::int32_t i = 0; i < 260 * 260; ++i)
        chequers.classes.push_back(static_cast<std::uint8_t>((i % 260 + i / 260) % 2));
    for (const ClassifiedRaster& raster :
         {RandomBlobs(1, 1, 1), RandomBlobs(1, 9, 2), RandomBlobs(9, 1, 3), RandomBlobs(13, 11, 4),
          RandomBlobs(40, 30, 5), RandomBlobs(64, 64, 6), chequers}) {
        const std::int32_t w = raster.width, h = raster.height;
        RegionLabels labels;
        const std::vector<Region> regions = LabelRegions(raster, bands, labels);
        const std::vector<std::int32_t> expected = FloodFill(raster, bands);
        std::vector<std::int32_t> label;
        for (std::size_t i = 0; i < expected.size(); ++i)
            label.push_back(labels[i]);
        ASSERT_EQ(label, expected) << w;
        std::vector<Region> counted(regions.size());
        for (std::int32_t y = 0; y < h; ++y)
            for (std::int32_t x = 0; x < w; ++x) {
                const std::int32_t id = expected[std::size_t(y * w + x)];
                if (id == kNone)
                    continue;
                Region& r = counted[std::size_t(id)];
                r.level = bands.levelOf[raster.at(x, y)];
                ++r.area;
                r.cutByEdge = r.cutByEdge || x == 0 || y == 0 || x == w - 1 || y == h - 1;
                const std::pair<std::int32_t, std::int32_t> around[] = {
                    {x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
                for (const auto& [nx, ny] : around) {
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                        continue;
                    const std::int32_t other = bands.levelOf[raster.at(nx, ny)];
                    r.belowEdges += other != kNone && other < r.level;
                    r.aboveEdges += other != kNone && other > r.level;
                }
            }
        for (std::size_t id = 0; id < regions.size(); ++id) {
            const Region &got = regions[id], &want = counted[id];
            EXPECT_EQ(got.level, want.level) << w << " region " << id;
            EXPECT_EQ(got.height, bands.heights[std::size_t(want.level)]) << w;
            EXPECT_EQ(got.area, want.area) << w << " region " << id;
            EXPECT_EQ(got.belowEdges, want.belowEdges) << w << " region " << id;
            EXPECT_EQ(got.aboveEdges, want.aboveEdges) << w << " region " << id;
            EXPECT_EQ(got.cutByEdge, want.cutByEdge) << w << " region " << id;
        }
    }
}

}  // namespace
}  // namespace quarn
