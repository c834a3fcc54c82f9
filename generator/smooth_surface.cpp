#include "smooth_surface.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>

#include "banded_levels.h"
#include "border_heights.h"
#include "feature_transform.h"
#include "parallel.h"
#include "smooth_heights.h"
#include "smooth_regions.h"

namespace quarn {

namespace {

enum class Pass { kSlopes, kHeights };

// Rows per band: a band of about 4 M pixels keeps its buffers small beside the raster.
std::int32_t BandRowsFor(std::int32_t width) {
    return std::clamp<std::int32_t>((1 << 22) / std::max(width, 1), 8, 256);
}

LevelBytes LevelBytesOf(const Bands& bands) {
    LevelBytes bytes{};
    for (std::size_t c = 0; c < bytes.size(); ++c)
        bytes[c] = bands.levelOf[c] == kNone ? kNoLevel : std::uint8_t(bands.levelOf[c]);
    return bytes;
}

// The surface in two passes over bands of rows: the first gathers the slope across each
// two-sided region and how far each one-sided one reaches from its side, the second gives the
// heights. In a band each level's distances are a task, the tasks shared out over the cores;
// a task alone touches its level's regions, whose pixels it visits in raster order.
template <typename Row>
class SmoothPasses {
  public:
    SmoothPasses(const ClassifiedRaster& raster, const NormalisedLevels& levels)
        : m_raster(raster),
          m_meanOfSet(levels.meanOfSet),
          m_bands(BandsOf(levels)),
          m_regions(LabelRegions(raster, m_bands, m_labels)),
          m_levelOf(LevelBytesOf(m_bands)),
          m_levelCount(static_cast<std::int32_t>(m_bands.heights.size())),
          m_banded(raster, m_levelOf, m_levelCount, BandRowsFor(raster.width)),
          m_near(Size(BandRowsFor(raster.width)) * Size(raster.width)),
          m_beside(m_near.size()),
          m_heights(m_near.size()) {
        for (const Region& r : m_regions) {
            m_hasLower[Size(r.level)] |= r.lower();
            m_hasHigher[Size(r.level)] |= r.higher();
            m_hasFlat[Size(r.level)] |= !r.lower() && !r.higher();
        }
        for (std::int32_t y = 0; y < raster.height; ++y)
            m_anyNoLevel |= (m_banded.rowLevels(y) & LevelBit(kNoLevel)) != 0;
        for (std::size_t w = 0; w < WorkerCount(); ++w)
            m_workers.emplace_back(raster.width, BandRowsFor(raster.width));
    }

    void run(const SmoothBand& emit) {
        pass(Pass::kSlopes, emit);
        GatherAround(m_raster, m_bands, m_labels, m_regions);
        std::vector<BorderPixel> border;
        for (Worker& worker : m_workers) {
            border.insert(border.end(), worker.border.begin(), worker.border.end());
            worker.border = {};
        }
        m_border.settle(std::move(border), m_regions, m_labels);
        pass(Pass::kHeights, emit);
    }

  private:
    struct Worker {
        Worker(std::int32_t width, std::int32_t bandRows)
            : transform(width, bandRows), lastAbove(Size(width)), firstBelow(Size(width)) {}
        FeatureTransform<Row> transform;
        std::vector<std::int32_t> lastAbove;
        std::vector<Row> firstBelow;
        std::vector<ColumnSpan> spans;  // of a row's pixels of the level measured
        std::vector<BorderPixel> border;
    };

    static std::size_t Size(std::int32_t n) { return static_cast<std::size_t>(n); }
    std::size_t at(std::int32_t x, std::int32_t y) const {
        return Size(y) * Size(m_raster.width) + Size(x);
    }
    Region& region(std::size_t pixel) { return m_regions[Size(m_labels[pixel])]; }
    bool noLevel(std::int32_t x, std::int32_t y) const {
        return m_levelOf[m_raster.classes[at(x, y)]] == kNoLevel;
    }
    bool besideNoLevel(std::int32_t x, std::int32_t y) const {
        return m_anyNoLevel &&
               ((x > 0 && noLevel(x - 1, y)) || (x + 1 < m_raster.width && noLevel(x + 1, y)) ||
                (y > 0 && noLevel(x, y - 1)) || (y + 1 < m_raster.height && noLevel(x, y + 1)));
    }

    void pass(Pass kind, const SmoothBand& emit) {
        for (m_banded.restart(); m_banded.band() < m_banded.bandCount(); m_banded.advance()) {
            // The levels in the band, those in the most rows first so that the cores finish
            // together; the pixels without height only for the heights.
            std::vector<std::pair<std::int32_t, std::uint8_t>> tasks;
            for (std::int32_t l = 0; l <= m_levelCount; ++l) {
                const auto level = l < m_levelCount ? std::uint8_t(l) : kNoLevel;
                std::int32_t rows = 0;
                for (std::int32_t y = m_banded.top(); y < m_banded.bottom(); ++y)
                    rows += (m_banded.rowLevels(y) & LevelBit(level)) != 0;
                if (rows > 0 && (level != kNoLevel || kind == Pass::kHeights))
                    tasks.emplace_back(rows, level);
            }
            std::stable_sort(tasks.begin(), tasks.end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
            if (kind == Pass::kHeights)
                startHeights();
            std::atomic<std::size_t> next{0};
            ParallelChunks(tasks.size(), 1, [&](std::size_t chunk, std::size_t, std::size_t) {
                for (std::size_t t = next++; t < tasks.size(); t = next++)
                    runTask(kind, tasks[t].second, m_workers[chunk]);
            });
            if (kind == Pass::kHeights)
                emit(m_banded.top(), m_banded.bottom() - m_banded.top(), m_heights.data());
        }
    }

    // The heights that need no distance: flat regions', and those of pixels without height
    // until the nearest pixel with one is found.
    void startHeights() {
        const std::int32_t top = m_banded.top();
        ForEachRowBand(m_banded.bottom() - top, 16, [&](std::int64_t begin, std::int64_t end) {
            for (auto row = static_cast<std::int32_t>(begin); row < end; ++row)
                for (std::int32_t x = 0; x < m_raster.width; ++x) {
                    const std::size_t j = at(x, row);
                    const std::uint8_t level = m_banded.levels()[j];
                    if (level == kNoLevel)
                        m_heights[j] = m_meanOfSet;
                    else if (m_hasFlat[level] && !region(at(x, top + row)).lower() &&
                             !region(at(x, top + row)).higher())
                        m_heights[j] = region(at(x, top + row)).height;
                }
        });
    }

    // found(pixel, band pixel, x, y, nearest feature, distance from the boundary) for each
    // pixel of level with wanted(pixel), the features those of levels from..to - 1. A run of
    // one level in a row lies in one region, so its first pixel answers for all.
    template <typename IsFeature, typename Wanted, typename Found>
    void measure(Worker& worker, std::uint8_t level, std::int32_t from, std::int32_t to,
                 IsFeature isFeature, Wanted wanted, Found found) {
        typename FeatureTransform<Row>::Band band;
        band.top = band.first = m_banded.top(), band.bottom = m_banded.bottom();
        band.last = band.bottom - 1;
        while ((m_banded.rowLevels(band.first) & LevelBit(level)) == 0)
            ++band.first;
        while ((m_banded.rowLevels(band.last) & LevelBit(level)) == 0)
            --band.last;
        band.levels = m_banded.levels();
        m_banded.seed(from, to, worker.lastAbove.data(), worker.firstBelow.data());
        band.lastAbove = worker.lastAbove.data(), band.firstBelow = worker.firstBelow.data();
        const auto spans = [&](std::int32_t y) {
            worker.spans.clear();
            for (const LevelRun& run : m_banded.runs(y))
                if (run.level == level && wanted(at(run.columns.begin, y)))
                    worker.spans.push_back(run.columns);
            return std::span<const ColumnSpan>(worker.spans);
        };
        worker.transform.run(
            band, isFeature, spans,
            [&](std::int32_t x, std::int32_t y, std::int32_t fx, std::int32_t fy, float d) {
                found(at(x, y), at(x, y - band.top), x, y, at(fx, fy), d - 0.5f);
            });
    }

    void runTask(Pass kind, std::uint8_t level, Worker& worker);

    const ClassifiedRaster& m_raster;
    float m_meanOfSet;
    Bands m_bands;
    RegionLabels m_labels;
    std::vector<Region> m_regions;
    LevelBytes m_levelOf;
    std::int32_t m_levelCount;
    BandedLevels<Row> m_banded;
    std::array<bool, 16> m_hasLower{}, m_hasHigher{}, m_hasFlat{};  // per level, of its regions
    bool m_anyNoLevel = false;
    // Per pixel of the band: the distance to the side measured first, the region of the
    // nearest pixel there, and the height.
    std::vector<float> m_near;
    std::vector<std::int32_t> m_beside;
    std::vector<float> m_heights;
    std::vector<Worker> m_workers;
    BorderHeights m_border;
};

template <typename Row>
void SmoothPasses<Row>::runTask(Pass kind, std::uint8_t level, Worker& worker) {
    const bool slopes = kind == Pass::kSlopes;
    if (level == kNoLevel) {
        measure(
            worker, level, 0, m_levelCount, [](std::uint8_t l) { return l != kNoLevel; },
            [](std::size_t) { return true; },
            [&](std::size_t, std::size_t j, std::int32_t, std::int32_t, std::size_t feature,
                float) { m_heights[j] = m_border.at(feature, region(feature)); });
        return;
    }
    // A one-sided region: how far it reaches from its side, then the height beyond the side.
    const auto oneSided = [&](std::size_t i, std::size_t j, std::int32_t x, std::int32_t y, float d,
                              std::int32_t beside) {
        Region& r = region(i);
        if (!slopes) {
            m_heights[j] = HeightBeyond(r, d, m_regions[Size(beside)]);
            return;
        }
        r.farthest = std::max(r.farthest, d);
        if (besideNoLevel(x, y))
            worker.border.push_back({i, d, beside});
    };
    // First the distances to the lower side, kept for the two-sided regions.
    if (m_hasLower[level])
        measure(
            worker, level, 0, level, [level](std::uint8_t l) { return l < level; },
            [&](std::size_t i) { return region(i).lower(); },
            [&](std::size_t i, std::size_t j, std::int32_t x, std::int32_t y, std::size_t feature,
                float d) {
                if (!region(i).higher())
                    return oneSided(i, j, x, y, d, m_labels[feature]);
                m_near[j] = d, m_beside[j] = m_labels[feature];
            });
    // Then the higher side, and with it the slope across or the height.
    if (m_hasHigher[level])
        measure(
            worker, level, level + 1, m_levelCount,
            [level, above = std::uint8_t(m_levelCount - level - 1)](std::uint8_t l) {
                return std::uint8_t(l - level - 1) < above;  // level < l < m_levelCount
            },
            [&](std::size_t i) { return region(i).higher(); },
            [&](std::size_t i, std::size_t j, std::int32_t x, std::int32_t y, std::size_t feature,
                float d) {
                Region& r = region(i);
                if (!r.lower())
                    return oneSided(i, j, x, y, d, m_labels[feature]);
                const Region &low = m_regions[Size(m_beside[j])], &high = region(feature);
                if (!slopes) {
                    m_heights[j] = HeightBetween(r, m_near[j], low, d, high);
                    return;
                }
                r.rampSum += RampAt(r, m_near[j], low, d, high);
                ++r.rampCount;
                if (besideNoLevel(x, y))
                    worker.border.push_back({i, m_near[j], m_beside[j], d, m_labels[feature]});
            });
}

template <typename Row>
void Smooth(const ClassifiedRaster& raster, const NormalisedLevels& levels,
            const SmoothBand& band) {
    SmoothPasses<Row>(raster, levels).run(band);
}

}  // namespace

void ForEachSmoothBand(const ClassifiedRaster& raster, const NormalisedLevels& levels,
                       const SmoothBand& band) {
    if (raster.classes.empty())
        return;
    // Two-byte rows halve the transforms' memory on any map of fewer than 65535 rows.
    if (raster.height < std::numeric_limits<std::uint16_t>::max())
        return Smooth<std::uint16_t>(raster, levels, band);
    Smooth<std::int32_t>(raster, levels, band);
}

std::vector<float> SmoothSurface(const ClassifiedRaster& raster, const NormalisedLevels& levels) {
    std::vector<float> heights;
    heights.reserve(raster.classes.size());
    ForEachSmoothBand(raster, levels, [&](std::int32_t, std::int32_t rows, const float* band) {
        heights.insert(heights.end(), band,
                       band + static_cast<std::size_t>(rows) * std::size_t(raster.width));
    });
    return heights;
}

}  // namespace quarn
