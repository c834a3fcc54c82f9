#include "smooth_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace quarn {

namespace {

constexpr std::int32_t kNone = -1;

// The distinct set heights, ascending, and each class's place among them (kNone: no height).
struct Bands {
    std::vector<float> heights;
    std::array<std::int32_t, kNoClass + 1> levelOf{};
};

Bands BandsOf(const NormalisedLevels& levels) {
    Bands bands;
    for (std::size_t e = 0; e < 16; ++e)
        if (levels.set[e])
            bands.heights.push_back(levels.norm[e]);
    std::sort(bands.heights.begin(), bands.heights.end());
    bands.heights.erase(std::unique(bands.heights.begin(), bands.heights.end()),
                        bands.heights.end());
    bands.levelOf.fill(kNone);
    for (std::size_t e = 0; e < 16; ++e)
        if (levels.set[e])
            bands.levelOf[e] = static_cast<std::int32_t>(
                std::lower_bound(bands.heights.begin(), bands.heights.end(), levels.norm[e]) -
                bands.heights.begin());
    return bands;
}

// A 4-connected area of one band and the bands it borders.
struct Region {
    bool lower = false, higher = false;
    float farthest = 0;  // the largest distance to the one bordering side
};

// Exact Euclidean feature transform (Felzenszwalb and Huttenlocher), separable: the nearest
// feature within each column first, then the lower envelope of parabolas along each row; both
// passes walk the rows in memory order. Calls found(pixel, feature, distance) for each pixel
// in rows [y0, y1] for which wanted holds and a feature exists.
class FeatureTransform {
  public:
    FeatureTransform(std::int32_t width, std::int32_t height)
        : m_width(width),
          m_height(height),
          m_columnFeature(Size(width) * Size(height)),
          m_sites(Size(width)),
          m_bounds(Size(width) + 1),
          m_cost(Size(width)) {}

    template <typename IsFeature, typename Wanted, typename Found>
    void run(std::int32_t y0, std::int32_t y1, IsFeature isFeature, Wanted wanted, Found found) {
        nearestInColumns(isFeature);
        for (std::int32_t y = y0; y <= y1; ++y)
            nearestInRow(y, wanted, found);
    }

  private:
    static std::size_t Size(std::int32_t n) { return static_cast<std::size_t>(n); }
    std::size_t at(std::int32_t x, std::int32_t y) const {
        return Size(y) * Size(m_width) + Size(x);
    }

    // The row of the nearest feature in each pixel's column, or kNone.
    template <typename IsFeature>
    void nearestInColumns(IsFeature& isFeature) {
        for (std::int32_t y = 0; y < m_height; ++y) {
            std::int32_t* row = m_columnFeature.data() + at(0, y);
            const std::int32_t* above = y > 0 ? row - m_width : nullptr;
            for (std::int32_t x = 0; x < m_width; ++x)
                row[x] = isFeature(at(x, y)) ? y : above ? above[x] : kNone;
        }
        for (std::int32_t y = m_height - 2; y >= 0; --y) {
            std::int32_t* row = m_columnFeature.data() + at(0, y);
            const std::int32_t* below = row + m_width;
            for (std::int32_t x = 0; x < m_width; ++x)
                if (below[x] != kNone && (row[x] == kNone || below[x] - y < y - row[x]))
                    row[x] = below[x];
        }
    }

    template <typename Wanted, typename Found>
    void nearestInRow(std::int32_t y, Wanted& wanted, Found& found) {
        constexpr double kInfinity = std::numeric_limits<double>::infinity();
        const std::int32_t* feature = m_columnFeature.data() + at(0, y);
        std::int32_t top = kNone;  // the last parabola of the envelope
        for (std::int32_t q = 0; q < m_width; ++q) {
            if (feature[q] == kNone)
                continue;
            const double dy = feature[q] - y;
            const double cost = dy * dy + double(q) * q;
            m_cost[Size(q)] = cost;
            double start = -kInfinity;
            while (top >= 0) {
                const std::int32_t v = m_sites[Size(top)];
                start = (cost - m_cost[Size(v)]) / (2.0 * (q - v));
                if (start > m_bounds[Size(top)])
                    break;
                --top;
                start = -kInfinity;
            }
            ++top;
            m_sites[Size(top)] = q;
            m_bounds[Size(top)] = start;
            m_bounds[Size(top) + 1] = kInfinity;
        }
        if (top < 0)
            return;
        std::int32_t k = 0;
        for (std::int32_t q = 0; q < m_width; ++q) {
            while (m_bounds[Size(k) + 1] < q)
                ++k;
            const std::size_t pixel = at(q, y);
            if (!wanted(pixel))
                continue;
            const std::int32_t v = m_sites[Size(k)];
            const double dx = v - q, dy = feature[v] - y;
            found(pixel, at(v, feature[v]), static_cast<float>(std::sqrt(dx * dx + dy * dy)));
        }
    }

    std::int32_t m_width, m_height;
    std::vector<std::int32_t> m_columnFeature;
    std::vector<std::int32_t> m_sites;
    std::vector<double> m_bounds;
    std::vector<double> m_cost;  // the parabola's value at 0 plus its site squared
};

// Labels the 4-connected areas of each band (kNone where no height) and notes which bands
// each borders.
std::vector<Region> LabelRegions(const ClassifiedRaster& raster, const Bands& bands,
                                 std::vector<std::int32_t>& label) {
    const auto w = static_cast<std::size_t>(raster.width);
    const std::size_t n = label.size();
    const auto level = [&](std::size_t i) { return bands.levelOf[raster.classes[i]]; };
    std::vector<std::int32_t> parent;
    const auto find = [&](std::int32_t a) {
        while (parent[std::size_t(a)] != a)
            a = parent[std::size_t(a)] = parent[std::size_t(parent[std::size_t(a)])];
        return a;
    };
    for (std::size_t i = 0; i < n; ++i) {
        label[i] = kNone;
        if (level(i) == kNone)
            continue;
        const bool joinsLeft = i % w != 0 && level(i - 1) == level(i);
        const bool joinsUp = i >= w && level(i - w) == level(i);
        if (joinsLeft)
            label[i] = find(label[i - 1]);
        if (joinsUp) {
            const std::int32_t up = find(label[i - w]);
            if (label[i] == kNone)
                label[i] = up;
            else if (up != label[i])
                parent[std::size_t(std::max(up, label[i]))] = std::min(up, label[i]);
            label[i] = std::min(up, label[i]);
        }
        if (label[i] == kNone) {
            label[i] = static_cast<std::int32_t>(parent.size());
            parent.push_back(label[i]);
        }
    }
    // Roots are numbered in order of their first pixel, so compact ids follow the same order.
    std::vector<std::int32_t> compact(parent.size(), kNone);
    std::int32_t count = 0;
    for (std::size_t r = 0; r < parent.size(); ++r) {
        const std::int32_t root = find(static_cast<std::int32_t>(r));
        if (compact[std::size_t(root)] == kNone)
            compact[std::size_t(root)] = count++;
        compact[r] = compact[std::size_t(root)];
    }
    std::vector<Region> regions(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < n; ++i)
        if (label[i] != kNone)
            label[i] = compact[std::size_t(label[i])];
    const auto border = [&](std::size_t a, std::size_t b) {
        if (label[a] == kNone || label[b] == kNone || level(a) == level(b))
            return;
        const bool aLower = level(a) < level(b);
        regions[std::size_t(label[a])].higher |= aLower;
        regions[std::size_t(label[a])].lower |= !aLower;
        regions[std::size_t(label[b])].higher |= !aLower;
        regions[std::size_t(label[b])].lower |= aLower;
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (i % w + 1 < w)
            border(i, i + 1);
        if (i + w < n)
            border(i, i + w);
    }
    return regions;
}

}  // namespace

std::vector<float> SmoothSurface(const ClassifiedRaster& raster, const NormalisedLevels& levels) {
    const std::size_t n = raster.classes.size();
    if (n == 0)
        return {};
    const Bands bands = BandsOf(levels);
    const auto level = [&](std::size_t i) { return bands.levelOf[raster.classes[i]]; };
    const auto own = [&](std::size_t i) { return bands.heights[std::size_t(level(i))]; };

    std::vector<std::int32_t> label(n);
    std::vector<Region> regions = LabelRegions(raster, bands, label);
    const auto region = [&](std::size_t i) -> Region& { return regions[std::size_t(label[i])]; };

    // result holds the distance to the lower side first, then the height; beside holds the
    // neighbouring band's height for the side being measured.
    std::vector<float> result(n, levels.meanOfSet);
    std::vector<float> beside(n);
    FeatureTransform transform(raster.width, raster.height);
    // The first and last row of each band, and last of all of the pixels without a height.
    std::vector<std::array<std::int32_t, 2>> rows(bands.heights.size() + 1, {raster.height, kNone});
    for (std::size_t i = 0; i < n; ++i) {
        const auto y = static_cast<std::int32_t>(i / std::size_t(raster.width));
        auto& span = rows[level(i) == kNone ? bands.heights.size() : std::size_t(level(i))];
        span = {std::min(span[0], y), y};
    }
    // Distances count from the boundary halfway between pixel centres.
    const auto measure = [&](bool towardsLower, auto store) {
        for (std::int32_t l = 0; l < static_cast<std::int32_t>(bands.heights.size()); ++l) {
            const auto isFeature = [&](std::size_t i) {
                return level(i) != kNone && (towardsLower ? level(i) < l : level(i) > l);
            };
            const auto wanted = [&](std::size_t i) {
                return level(i) == l && (towardsLower ? region(i).lower : region(i).higher);
            };
            const auto [first, last] = rows[std::size_t(l)];
            if (first <= last)
                transform.run(first, last, isFeature, wanted,
                              [&](std::size_t i, std::size_t feature, float distance) {
                                  store(i, distance - 0.5f, own(feature));
                              });
        }
    };
    const auto middle = [](float a, float b) { return (a + b) / 2; };
    // The mean slope of each band's ramps, in height per pixel.
    std::vector<double> slopeSum(bands.heights.size()), slopeCount(bands.heights.size());
    // Beyond a region's one bordering side the surface goes on with the neighbouring band's
    // slope and levels off like a paraboloid, at its farthest pixel when the slope allows, at
    // least at the band's height and at most a quarter band beyond (a wide flat region is more
    // often a plateau than a steady rise).
    const auto cap = [&](std::size_t i) {
        const float edge = middle(own(i), beside[i]);
        const auto near = static_cast<std::size_t>(
            std::lower_bound(bands.heights.begin(), bands.heights.end(), beside[i]) -
            bands.heights.begin());
        const double span = std::abs(own(i) - edge), farthest = region(i).farthest;
        const double slope = slopeCount[near] > 0 ? slopeSum[near] / slopeCount[near] : 0;
        const double rise = slope > 0 ? std::clamp(slope * farthest / 2, span, 1.5 * span) : span;
        const double flatFrom = slope > 0 ? std::min(farthest, 2 * rise / slope) : farthest;
        const double t = 1 - std::min(1.0, result[i] / flatFrom);
        return static_cast<float>(edge + std::copysign(rise * (1 - t * t), own(i) - edge));
    };

    measure(true, [&](std::size_t i, float distance, float neighbour) {
        result[i] = distance;
        beside[i] = neighbour;
        if (!region(i).higher)
            region(i).farthest = std::max(region(i).farthest, distance);
    });
    measure(false, [&](std::size_t i, float distance, float neighbour) {
        if (!region(i).lower) {
            result[i] = distance;
            beside[i] = neighbour;
            region(i).farthest = std::max(region(i).farthest, distance);
            return;
        }
        const float low = middle(own(i), beside[i]);
        const float high = middle(own(i), neighbour);
        slopeSum[std::size_t(level(i))] += (high - low) / (result[i] + distance);
        slopeCount[std::size_t(level(i))] += 1;
        result[i] = low + (high - low) * result[i] / (result[i] + distance);
    });
    for (std::size_t i = 0; i < n; ++i) {
        if (label[i] == kNone || (region(i).lower && region(i).higher))
            continue;
        result[i] = region(i).lower || region(i).higher ? cap(i) : own(i);
    }

    const auto [first, last] = rows.back();
    if (first <= last)
        transform.run(
            first, last, [&](std::size_t i) { return level(i) != kNone; },
            [&](std::size_t i) { return level(i) == kNone; },
            [&](std::size_t i, std::size_t feature, float) { result[i] = result[feature]; });
    return result;
}

}  // namespace quarn
