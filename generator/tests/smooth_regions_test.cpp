// The smooth surface's building blocks: regions labelled by band, level bytes banded row by row,
// and the nearest feature of every pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <utility>
#include <vector>

#include "banded_levels.h"
#include "feature_transform.h"
#include "smooth_regions.h"

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

constexpr std::uint8_t kFeature = 1;

struct Map {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint8_t> levels;  // kFeature for features, 0 otherwise

    bool feature(std::int32_t x, std::int32_t y) const {
        return levels[std::size_t(y) * std::size_t(width) + std::size_t(x)] == kFeature;
    }
};

Map RandomMap(std::int32_t width, std::int32_t height, double density, unsigned seed) {
    Map map{width, height, {}};
    std::mt19937 random(seed);
    std::bernoulli_distribution isFeature(density);
    for (std::int32_t i = 0; i < width * height; ++i)
        map.levels.push_back(isFeature(random) ? kFeature : 0);
    map.levels[seed % map.levels.size()] = kFeature;  // at least one
    return map;
}

struct Reported {
    std::int32_t x, y, featureX, featureY;
    float distance;
};

// Per row the spans of the pixels to report: random ones when seeded, else the whole row.
using SpansOfRows = std::vector<std::vector<ColumnSpan>>;

SpansOfRows RandomSpans(const Map& map, unsigned seed) {
    SpansOfRows spans(std::size_t(map.height));
    std::mt19937 random(seed);
    for (std::vector<ColumnSpan>& row : spans)
        for (std::int32_t x = std::int32_t(random() % 4); x < map.width;) {
            const std::int32_t end = std::min(map.width, x + 1 + std::int32_t(random() % 6));
            row.push_back({x, end});
            x = end + 1 + std::int32_t(random() % 9);
        }
    return spans;
}

// Runs the transform over the map band by band, seeded from the rows around each band.
template <typename Row>
std::vector<Reported> Transform(const Map& map, std::int32_t bandRows, const SpansOfRows& spans) {
    FeatureTransform<Row> transform(map.width, bandRows);
    std::vector<Reported> reported;
    for (std::int32_t top = 0; top < map.height; top += bandRows) {
        typename FeatureTransform<Row>::Band band;
        band.top = band.first = top;
        band.bottom = std::min(map.height, top + bandRows);
        band.last = band.bottom - 1;
        band.levels = map.levels.data() + std::size_t(top) * std::size_t(map.width);
        std::vector<std::int32_t> above(std::size_t(map.width), -1);
        std::vector<Row> below(std::size_t(map.width), FeatureTransform<Row>::kNoRow);
        for (std::int32_t x = 0; x < map.width; ++x) {
            for (std::int32_t y = 0; y < top; ++y)
                if (map.feature(x, y))
                    above[std::size_t(x)] = y;
            for (std::int32_t y = map.height - 1; y >= band.bottom; --y)
                if (map.feature(x, y))
                    below[std::size_t(x)] = Row(y);
        }
        band.lastAbove = above.data(), band.firstBelow = below.data();
        transform.run(
            band, [](std::uint8_t level) { return level == kFeature; },
            [&](std::int32_t y) { return std::span<const ColumnSpan>(spans[std::size_t(y)]); },
            [&](std::int32_t x, std::int32_t y, std::int32_t fx, std::int32_t fy, float d) {
                reported.push_back({x, y, fx, fy, d});
            });
    }
    return reported;
}

// Each pixel of the spans is reported once, in raster order, with the feature of the whole map
// at the least squared distance, of those the leftmost, then the upper one, whatever the band
// height, the spans and the type of the rows.
TEST(FeatureTransform, FindsTheNearestFeatureOfTheWholeMapBandByBand) {
    struct Case {
        std::int32_t width, height, bandRows;
        double density;
        unsigned seed;
    };
    for (const Case c : {Case{17, 23, 4, 0.05, 1}, Case{17, 23, 1, 0.05, 2}, Case{40, 9, 9, 0.3, 3},
                         Case{1, 31, 5, 0.1, 4}, Case{33, 1, 1, 0.1, 5}, Case{25, 25, 7, 0.002, 6},
                         Case{60, 12, 5, 0.01, 7}, Case{31, 31, 6, 0.5, 8}}) {
        const Map map = RandomMap(c.width, c.height, c.density, c.seed);
        for (const SpansOfRows& spans :
             {SpansOfRows(std::size_t(c.height), {{0, c.width}}), RandomSpans(map, c.seed)}) {
            std::vector<Reported> expected;
            for (std::int32_t y = 0; y < map.height; ++y)
                for (const ColumnSpan& span : spans[std::size_t(y)])
                    for (std::int32_t x = span.begin; x < span.end; ++x) {
                        Reported best{x, y, -1, -1, 0};
                        std::int64_t least = -1;
                        for (std::int32_t fx = 0; fx < map.width; ++fx)
                            for (std::int32_t fy = 0; fy < map.height; ++fy) {
                                const std::int64_t d2 = std::int64_t(fx - x) * (fx - x) +
                                                        std::int64_t(fy - y) * (fy - y);
                                if (map.feature(fx, fy) && (least < 0 || d2 < least)) {
                                    least = d2;
                                    best = {x, y, fx, fy, float(std::sqrt(double(d2)))};
                                }
                            }
                        expected.push_back(best);
                    }
            for (const auto& reported : {Transform<std::uint16_t>(map, c.bandRows, spans),
                                         Transform<std::int32_t>(map, c.bandRows, spans)}) {
                ASSERT_EQ(reported.size(), expected.size()) << c.seed;
                for (std::size_t i = 0; i < expected.size(); ++i) {
                    const Reported &r = reported[i], &e = expected[i];
                    ASSERT_EQ(std::make_pair(r.x, r.y), std::make_pair(e.x, e.y)) << c.seed;
                    EXPECT_EQ(std::make_pair(r.featureX, r.featureY),
                              std::make_pair(e.featureX, e.featureY))
                        << c.seed << " at " << r.x << ", " << r.y;
                    EXPECT_EQ(r.distance, e.distance) << c.seed;
                }
            }
        }
    }
}

// The pick among features equally near the middle of a 5 x 5 map: the leftmost, of those the
// upper one; a map without features reports nothing.
TEST(FeatureTransform, TiesGoToTheLeftThenTheUpperFeatureAndNoFeatureMeansNoReport) {
    using Pixel = std::pair<std::int32_t, std::int32_t>;
    struct Case {
        std::vector<Pixel> features;
        Pixel picked;
    };
    for (const Case& c :
         {Case{{{2, 1}, {2, 3}}, {2, 1}}, Case{{{3, 2}, {1, 2}}, {1, 2}},
          Case{{{2, 0}, {4, 2}, {0, 2}, {2, 4}}, {0, 2}}, Case{{{3, 4}, {3, 0}, {4, 1}}, {3, 0}}}) {
        Map map{5, 5, std::vector<std::uint8_t>(25, 0)};
        for (const auto& [x, y] : c.features)
            map.levels[std::size_t(y * 5 + x)] = kFeature;
        const SpansOfRows middle{{}, {}, {{2, 3}}, {}, {}};
        const std::vector<Reported> reported = Transform<std::uint16_t>(map, 2, middle);
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_EQ(Pixel(reported[0].featureX, reported[0].featureY), c.picked) << c.features.size();
    }
    const Map none{4, 4, std::vector<std::uint8_t>(16, 0)};
    EXPECT_TRUE(Transform<std::uint16_t>(none, 3, SpansOfRows(4, {{0, 4}})).empty());
}

// Rows of the band outside first..last are never reported, whatever their spans.
TEST(FeatureTransform, ReportsOnlyTheRowsAskedFor) {
    Map map{6, 8, std::vector<std::uint8_t>(48, 0)};
    map.levels[0] = kFeature;
    FeatureTransform<std::uint16_t> transform(6, 8);
    FeatureTransform<std::uint16_t>::Band band;
    band.top = 0, band.bottom = 8, band.first = 2, band.last = 5;
    band.levels = map.levels.data();
    const std::vector<std::int32_t> above(6, -1);
    const std::vector<std::uint16_t> below(6, FeatureTransform<std::uint16_t>::kNoRow);
    band.lastAbove = above.data(), band.firstBelow = below.data();
    const std::vector<ColumnSpan> spans{{0, 2}};
    std::vector<std::pair<std::int32_t, std::int32_t>> reported;
    transform.run(
        band, [](std::uint8_t level) { return level == kFeature; },
        [&](std::int32_t) { return std::span<const ColumnSpan>(spans); },
        [&](std::int32_t x, std::int32_t y, std::int32_t, std::int32_t, float) {
            reported.emplace_back(x, y);
        });
    EXPECT_EQ(reported, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                            {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}, {1, 4}, {0, 5}, {1, 5}}));
}

}  // namespace
}  // namespace quarn
