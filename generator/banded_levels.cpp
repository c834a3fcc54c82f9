#include "banded_levels.h"

#include <algorithm>

#include "parallel.h"

namespace quarn {

namespace {

// Columns per worker below which a sweep stays on fewer threads.
constexpr std::size_t kMinColumnsPerWorker = 256;

std::size_t Size(std::int32_t n) {
    return static_cast<std::size_t>(n);
}

}  // namespace

template <typename Row>
BandedLevels<Row>::BandedLevels(const ClassifiedRaster& raster, const LevelBytes& levelOf,
                                std::int32_t levelCount, std::int32_t bandRows)
    : m_raster(raster),
      m_levelOf(levelOf),
      m_levelCount(levelCount),
      m_bandRows(bandRows),
      m_bandCount((raster.height + bandRows - 1) / bandRows),
      m_rowLevels(Size(raster.height)),
      m_levels(Size(bandRows) * Size(raster.width)),
      m_runs(Size(bandRows)) {
    const std::size_t width = Size(raster.width), levels = Size(levelCount);
    ForEachRowBand(raster.height, 64, [&](std::int64_t begin, std::int64_t end) {
        for (auto y = static_cast<std::size_t>(begin); y < static_cast<std::size_t>(end); ++y) {
            std::uint32_t mask = 0;
            for (std::size_t x = 0; x < width; ++x)
                mask |= LevelBit(m_levelOf[raster.classes[y * width + x]]);
            m_rowLevels[y] = mask;
        }
    });
    // From the bottom up, each band taking what lies below it before its own rows.
    m_firstBelow.resize(Size(m_bandCount) * levels * width);
    ParallelChunks(
        width, kMinColumnsPerWorker, [&](std::size_t, std::size_t begin, std::size_t end) {
            std::vector<Row> next(levels * (end - begin), FeatureTransform<Row>::kNoRow);
            for (std::int32_t band = m_bandCount - 1; band >= 0; --band) {
                for (std::size_t l = 0; l < levels; ++l)
                    std::copy_n(next.begin() + std::ptrdiff_t(l * (end - begin)), end - begin,
                                m_firstBelow.begin() +
                                    std::ptrdiff_t((Size(band) * levels + l) * width + begin));
                const std::int32_t top = band * m_bandRows;
                for (std::int32_t y = std::min(raster.height, top + m_bandRows) - 1; y >= top;
                     --y) {
                    const std::uint8_t* classes = raster.classes.data() + Size(y) * width;
                    for (std::size_t x = begin; x < end; ++x) {
                        const std::uint8_t level = m_levelOf[classes[x]];
                        if (level != kNoLevel)
                            next[level * (end - begin) + x - begin] = Row(y);
                    }
                }
            }
        });
    restart();
}

template <typename Row>
std::int32_t BandedLevels<Row>::bottom() const {
    return std::min(m_raster.height, top() + m_bandRows);
}

template <typename Row>
void BandedLevels<Row>::restart() {
    m_band = 0;
    m_lastAbove.assign(Size(m_levelCount) * Size(m_raster.width), -1);
    load();
}

template <typename Row>
void BandedLevels<Row>::advance() {
    const std::size_t width = Size(m_raster.width);
    ParallelChunks(width, kMinColumnsPerWorker,
                   [&](std::size_t, std::size_t begin, std::size_t end) {
                       for (std::int32_t y = top(); y < bottom(); ++y) {
                           const std::uint8_t* row = m_levels.data() + Size(y - top()) * width;
                           for (std::size_t x = begin; x < end; ++x)
                               if (row[x] != kNoLevel)
                                   m_lastAbove[row[x] * width + x] = y;
                       }
                   });
    ++m_band;
    load();
}

template <typename Row>
void BandedLevels<Row>::load() {
    if (m_band >= m_bandCount)
        return;
    const std::size_t width = Size(m_raster.width);
    const std::uint8_t* classes = m_raster.classes.data() + Size(top()) * width;
    ForEachRowBand(bottom() - top(), 16, [&](std::int64_t begin, std::int64_t end) {
        for (auto row = static_cast<std::size_t>(begin); row < static_cast<std::size_t>(end);
             ++row) {
            std::uint8_t* levels = m_levels.data() + row * width;
            std::vector<LevelRun>& runs = m_runs[row];
            runs.clear();
            for (std::size_t x = 0; x < width; ++x) {
                levels[x] = m_levelOf[classes[row * width + x]];
                if (x == 0 || levels[x] != levels[x - 1])
                    runs.push_back({{std::int32_t(x), std::int32_t(x)}, levels[x]});
                ++runs.back().columns.end;
            }
        }
    });
}

template <typename Row>
void BandedLevels<Row>::seed(std::int32_t from, std::int32_t to, std::int32_t* lastAbove,
                             Row* firstBelow) const {
    const std::size_t width = Size(m_raster.width);
    std::fill_n(lastAbove, width, -1);
    std::fill_n(firstBelow, width, FeatureTransform<Row>::kNoRow);
    for (std::int32_t l = from; l < to; ++l) {
        const std::int32_t* last = m_lastAbove.data() + Size(l) * width;
        const Row* first =
            m_firstBelow.data() + (Size(m_band) * Size(m_levelCount) + Size(l)) * width;
        for (std::size_t x = 0; x < width; ++x) {
            lastAbove[x] = std::max(lastAbove[x], last[x]);
            firstBelow[x] = std::min(firstBelow[x], first[x]);
        }
    }
}

template class BandedLevels<std::uint16_t>;
template class BandedLevels<std::int32_t>;

}  // namespace quarn
