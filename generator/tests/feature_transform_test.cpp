#include "feature_transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <utility>
#include <vector>

namespace quarn {
namespace {

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
