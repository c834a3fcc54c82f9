#include "smooth_surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

#include "parallel.h"

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

// The pixel edges a region shares with lower (or higher) bands.
struct Side {
    std::size_t edges = 0;
};

// A 4-connected area of one band and the bands it borders.
struct Region {
    std::int32_t level = kNone;  // the band's place among the set heights
    float height = 0;            // the band's height
    std::size_t area = 0;
    Side below, above;
    bool cutByEdge = false;  // touches the map's edge, beyond which the land goes on
    // The slopes across a two-sided region at its pixels, in height per pixel.
    double rampSum = 0;
    std::size_t rampCount = 0;
    // The ramps of the two-sided regions around, weighted by the edges shared with each.
    double aroundSum = 0;
    std::size_t aroundEdges = 0;
    float farthest = 0;  // a one-sided region's largest distance to its bordering side

    bool lower() const { return below.edges > 0; }
    bool higher() const { return above.edges > 0; }
    bool twoSided() const { return lower() && higher(); }
    double ramp() const { return rampCount > 0 ? rampSum / double(rampCount) : 0; }
    double around() const { return aroundEdges > 0 ? aroundSum / double(aroundEdges) : 0; }
};

// Exact Euclidean feature transform (Felzenszwalb and Huttenlocher), separable: the nearest
// feature within each column first, then the lower envelope of parabolas along each row; both
// passes walk the rows in memory order. Calls found(pixel, feature, distance) for each pixel
// in rows [y0, y1] for which wanted holds and a feature exists. Rows are kept as Row, the
// smallest type that holds the map's rows.
template <typename Row>
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

    static constexpr Row kNoRow = std::numeric_limits<Row>::max();

    // The row of the nearest feature in each pixel's column, or kNoRow.
    template <typename IsFeature>
    void nearestInColumns(IsFeature& isFeature) {
        for (std::int32_t y = 0; y < m_height; ++y) {
            Row* row = m_columnFeature.data() + at(0, y);
            const Row* above = y > 0 ? row - m_width : nullptr;
            for (std::int32_t x = 0; x < m_width; ++x)
                row[x] = isFeature(at(x, y)) ? Row(y) : above ? above[x] : kNoRow;
        }
        for (std::int32_t y = m_height - 2; y >= 0; --y) {
            Row* row = m_columnFeature.data() + at(0, y);
            const Row* below = row + m_width;
            for (std::int32_t x = 0; x < m_width; ++x)
                if (below[x] != kNoRow &&
                    (row[x] == kNoRow || std::int32_t(below[x]) - y < y - std::int32_t(row[x])))
                    row[x] = below[x];
        }
    }

    template <typename Wanted, typename Found>
    void nearestInRow(std::int32_t y, Wanted& wanted, Found& found) {
        constexpr double kInfinity = std::numeric_limits<double>::infinity();
        const Row* feature = m_columnFeature.data() + at(0, y);
        std::int32_t top = kNone;  // the last parabola of the envelope
        for (std::int32_t q = 0; q < m_width; ++q) {
            if (feature[q] == kNoRow)
                continue;
            const double dy = double(feature[q]) - y;
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
            const double dx = v - q, dy = double(feature[v]) - y;
            found(pixel, at(v, feature[v]), static_cast<float>(std::sqrt(dx * dx + dy * dy)));
        }
    }

    std::int32_t m_width, m_height;
    std::vector<Row> m_columnFeature;
    std::vector<std::int32_t> m_sites;
    std::vector<double> m_bounds;
    std::vector<double> m_cost;  // the parabola's value at 0 plus its site squared
};

// Calls meet(low, high) for the regions of each pair of 4-neighbours in different bands.
template <typename Meet>
void ForEachBorder(const ClassifiedRaster& raster, const Bands& bands,
                   const std::vector<std::int32_t>& label, std::vector<Region>& regions,
                   Meet meet) {
    const auto w = static_cast<std::size_t>(raster.width);
    const std::size_t n = label.size();
    const auto level = [&](std::size_t i) { return bands.levelOf[raster.classes[i]]; };
    const auto border = [&](std::size_t a, std::size_t b) {
        if (label[a] == kNone || label[b] == kNone || level(a) == level(b))
            return;
        if (level(a) > level(b))
            std::swap(a, b);
        meet(regions[std::size_t(label[a])], regions[std::size_t(label[b])]);
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (i % w + 1 < w)
            border(i, i + 1);
        if (i + w < n)
            border(i, i + w);
    }
}

// Labels the 4-connected areas of each band (kNone where no height) and notes the bands each
// borders.
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
        if (label[i] != kNone) {
            label[i] = compact[std::size_t(label[i])];
            Region& region = regions[std::size_t(label[i])];
            region.level = level(i);
            region.height = bands.heights[std::size_t(level(i))];
            ++region.area;
        }
    ForEachBorder(raster, bands, label, regions, [](Region& low, Region& high) {
        ++low.above.edges;
        ++high.below.edges;
    });
    const std::size_t lastRow = n - w;
    for (std::size_t i = 0; i < n; ++i)
        if (label[i] != kNone && (i < w || i >= lastRow || i % w == 0 || i % w + 1 == w))
            regions[std::size_t(label[i])].cutByEdge = true;
    return regions;
}

// Runs perLevel(level, transform) for every band level, the levels dealt out in turn to two
// shares, since each worker needs a transform as large as the map. A level's work touches
// only its own pixels and regions.
template <typename Row, typename PerLevel>
void ForEachLevel(const ClassifiedRaster& raster, std::int32_t levels, PerLevel perLevel) {
    const auto count = static_cast<std::size_t>(levels);
    const std::size_t shares = std::min<std::size_t>(count, 2);
    std::vector<FeatureTransform<Row>> transforms;
    for (std::size_t t = 0; t < ChunkCount(shares, 1); ++t)
        transforms.emplace_back(raster.width, raster.height);
    ParallelChunks(shares, 1, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        for (std::size_t share = begin; share < end; ++share)
            for (std::size_t l = share; l < count; l += shares)
                perLevel(static_cast<std::int32_t>(l), transforms[chunk]);
    });
}

template <typename Row>
std::vector<float> Smooth(const ClassifiedRaster& raster, const NormalisedLevels& levels) {
    const std::size_t n = raster.classes.size();
    const Bands bands = BandsOf(levels);
    const auto level = [&](std::size_t i) { return bands.levelOf[raster.classes[i]]; };
    const auto own = [&](std::size_t i) { return bands.heights[std::size_t(level(i))]; };

    std::vector<std::int32_t> label(n);
    std::vector<Region> regions = LabelRegions(raster, bands, label);
    const auto region = [&](std::size_t i) -> Region& { return regions[std::size_t(label[i])]; };

    // result holds the distance to the lower side first, then the height; beside holds the
    // region of the nearest pixel on the side measured first.
    std::vector<float> result(n, levels.meanOfSet);
    std::vector<std::int32_t> beside(n);
    const auto besideHeight = [&](std::size_t i) { return regions[std::size_t(beside[i])].height; };
    // The first and last row of each band, and last of all of the pixels without a height.
    const auto levelCount = static_cast<std::int32_t>(bands.heights.size());
    std::vector<std::array<std::int32_t, 2>> rows(bands.heights.size() + 1, {raster.height, kNone});
    for (std::size_t i = 0; i < n; ++i) {
        const auto y = static_cast<std::int32_t>(i / std::size_t(raster.width));
        auto& span = rows[level(i) == kNone ? bands.heights.size() : std::size_t(level(i))];
        span = {std::min(span[0], y), y};
    }
    const auto middle = [](float a, float b) { return (a + b) / 2; };
    const auto boundaries = [&](std::size_t i, std::size_t higherFeature) {
        return std::pair<double, double>(middle(own(i), besideHeight(i)),
                                         middle(own(i), own(higherFeature)));
    };
    // Distances count from the boundary halfway between pixel centres. lower and higher
    // receive (pixel, distance, nearest pixel on that side) for the pixels that have the side.
    const auto measure = [&](std::int32_t l, auto& transform, auto lower, auto higher) {
        const auto [first, last] = rows[std::size_t(l)];
        if (first > last)
            return;
        for (bool towardsLower : {true, false}) {
            if (towardsLower && std::is_same_v<decltype(lower), std::nullptr_t>)
                continue;
            transform.run(
                first, last,
                [&](std::size_t i) {
                    return level(i) != kNone && (towardsLower ? level(i) < l : level(i) > l);
                },
                [&](std::size_t i) {
                    return level(i) == l && (towardsLower ? region(i).lower() : region(i).higher());
                },
                [&](std::size_t i, std::size_t feature, float distance) {
                    if constexpr (!std::is_same_v<decltype(lower), std::nullptr_t>)
                        if (towardsLower)
                            return lower(i, distance - 0.5f, feature);
                    higher(i, distance - 0.5f, feature);
                });
        }
    };
    // First the distances to the lower side and the slope across each two-sided region.
    ForEachLevel<Row>(raster, levelCount, [&](std::int32_t l, auto& transform) {
        const auto oneSide = [&](std::size_t i, float distance, std::size_t feature) {
            result[i] = distance;
            beside[i] = label[feature];
            if (!region(i).twoSided())
                region(i).farthest = std::max(region(i).farthest, distance);
        };
        measure(l, transform, oneSide, [&](std::size_t i, float distance, std::size_t feature) {
            if (!region(i).lower())
                return oneSide(i, distance, feature);
            const auto [low, high] = boundaries(i, feature);
            region(i).rampSum += (high - low) / (result[i] + distance);
            ++region(i).rampCount;
        });
    });
    ForEachBorder(raster, bands, label, regions, [](Region& low, Region& high) {
        if (high.twoSided())
            low.aroundSum += high.ramp(), ++low.aroundEdges;
        if (low.twoSided())
            high.aroundSum += low.ramp(), ++high.aroundEdges;
    });
    // Then the heights across the two-sided regions: a monotonic cubic between the boundaries,
    // its slope at each boundary the mean of the slopes on either side, so that the surface
    // bends into the neighbouring bands' ramps instead of kinking at every contour.
    const auto boundarySlope = [](double slope, const Region& neighbour) {
        return neighbour.twoSided() ? std::clamp((slope + neighbour.ramp()) / 2, 0.0, 3 * slope)
                                    : slope;
    };
    ForEachLevel<Row>(raster, levelCount, [&](std::int32_t l, auto& transform) {
        measure(l, transform, nullptr, [&](std::size_t i, float distance, std::size_t feature) {
            if (!region(i).lower())
                return;
            const auto [low, high] = boundaries(i, feature);
            const double width = result[i] + distance, slope = (high - low) / width;
            const double m0 = boundarySlope(slope, regions[std::size_t(beside[i])]);
            const double m1 = boundarySlope(slope, region(feature));
            const double t = result[i] / width, t2 = t * t, t3 = t2 * t;
            result[i] = static_cast<float>(low + (high - low) * (3 * t2 - 2 * t3) +
                                           width * (m0 * (t3 - 2 * t2 + t) + m1 * (t3 - t2)));
        });
    });

    // Beyond a region's one bordering side the surface goes on with the slope of the ramps
    // around it. A summit or pit levels off like a paraboloid, at its farthest pixel when the
    // slope allows, at most at the band's own height. A region cut off by the map's edge whose
    // band the slope does not cross within the map is a slope going on past the edge: it keeps
    // the slope.
    const auto beyond = [&](std::size_t i) {
        const Region& r = region(i);
        const float edge = middle(own(i), besideHeight(i));
        const double span = std::abs(own(i) - edge), distance = result[i];
        // With no ramp around, a region cut off by the edge rises to its own height at its
        // farthest pixel, so two bands alone make one straight ramp.
        const double slope = r.cutByEdge && r.around() == 0 ? span / r.farthest : r.around();
        double rise = slope * distance;
        if (!r.cutByEdge || slope * r.farthest > 2 * span) {
            const double top = slope > 0 ? std::min(slope * r.farthest / 2, span) : span;
            const double flatFrom =
                slope > 0 ? std::min(double(r.farthest), 2 * top / slope) : double(r.farthest);
            const double t = 1 - std::min(1.0, distance / flatFrom);
            rise = top * (1 - t * t);
        }
        return static_cast<float>(edge + std::copysign(rise, own(i) - edge));
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (label[i] == kNone || region(i).twoSided())
            continue;
        result[i] = region(i).lower() || region(i).higher() ? beyond(i) : own(i);
    }

    const auto [first, last] = rows.back();
    if (first <= last)
        FeatureTransform<Row>(raster.width, raster.height)
            .run(
                first, last, [&](std::size_t i) { return level(i) != kNone; },
                [&](std::size_t i) { return level(i) == kNone; },
                [&](std::size_t i, std::size_t feature, float) { result[i] = result[feature]; });
    return result;
}

}  // namespace

std::vector<float> SmoothSurface(const ClassifiedRaster& raster, const NormalisedLevels& levels) {
    if (raster.classes.empty())
        return {};
    // Two-byte rows halve the transforms' memory on any map of fewer than 65535 rows.
    if (raster.height < std::numeric_limits<std::uint16_t>::max())
        return Smooth<std::uint16_t>(raster, levels);
    return Smooth<std::int32_t>(raster, levels);
}

}  // namespace quarn
