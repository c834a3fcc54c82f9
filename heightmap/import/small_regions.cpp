#include "small_regions.h"

#include <algorithm>
#include <array>
#include <vector>

#include "map_import.h"
#include "parallel.h"

namespace quarn {

namespace {

constexpr std::uint8_t kSeen = 0x80, kInRegion = 0x40;

class RegionWalk {
  public:
    explicit RegionWalk(PixelCells& cells)
        : m_cells(cells), m_small(SmallRegionSize(cells.cells.size())) {}

    // The pixels of the region of start's band, found breadth first and marked kSeen; empty
    // when it proves to be m_small pixels or more: it grew that large, or it reached a
    // pixel seen before, which only a large region leaves behind.
    const std::vector<std::size_t>& regionAt(std::size_t start) {
        m_band = m_cells.cells[start] & kBandBits;
        m_region.assign(1, start);
        m_cells.cells[start] |= kSeen | kInRegion;
        bool small = true;
        for (std::size_t next = 0; small && next < m_region.size(); ++next)
            forEachSide(m_region[next], [&](std::size_t at) { small = small && take(at); });
        for (const std::size_t at : m_region)
            m_cells.cells[at] &= static_cast<std::uint8_t>(~kInRegion);
        if (!small)
            m_region.clear();
        return m_region;
    }

    // The band most pixels bordering the last region have, or nothing when none qualifies.
    std::optional<std::uint8_t> surroundingBand(std::optional<std::uint8_t> lineBand) const {
        std::array<std::size_t, kMaxBands> votes{};
        for (const std::size_t inside : m_region)
            forEachSide(inside, [&](std::size_t at) {
                const std::uint8_t band = m_cells.cells[at] & kBandBits;
                if (band != m_band && band != lineBand)
                    ++votes[band];
            });
        std::size_t best = 0;
        for (std::size_t band = 1; band < votes.size(); ++band)
            if (votes[band] > votes[best])
                best = band;
        return votes[best] > 0 ? std::optional(static_cast<std::uint8_t>(best)) : std::nullopt;
    }

  private:
    template <typename Visit>
    void forEachSide(std::size_t at, Visit&& visit) const {
        const auto w = static_cast<std::size_t>(m_cells.width);
        const std::size_t x = at % w;
        if (x > 0)
            visit(at - 1);
        if (x + 1 < w)
            visit(at + 1);
        if (at >= w)
            visit(at - w);
        if (at + w < m_cells.cells.size())
            visit(at + w);
    }

    // Adds at to the region when it is of its band; false when that shows the region large.
    bool take(std::size_t at) {
        std::uint8_t& cell = m_cells.cells[at];
        if ((cell & kBandBits) != m_band || (cell & kInRegion))
            return true;
        if (cell & kSeen)
            return false;
        cell |= kSeen | kInRegion;
        m_region.push_back(at);
        return m_region.size() < m_small;
    }

    PixelCells& m_cells;
    std::size_t m_small;
    std::uint8_t m_band = 0;
    std::vector<std::size_t> m_region;
};

}  // namespace

std::size_t SmallRegionSize(std::size_t pixels) {
    constexpr std::size_t kStray = 256, kShareOfSmallImages = 1024;
    return std::min(kStray, pixels / kShareOfSmallImages);
}

void AbsorbSmallRegions(PixelCells& cells, std::optional<std::uint8_t> lineBand) {
    ParallelChunks(cells.cells.size(), 1 << 16,
                   [&](std::size_t, std::size_t begin, std::size_t end) {
                       for (std::size_t at = begin; at < end; ++at)
                           cells.cells[at] &= kBandBits;
                   });
    RegionWalk walk(cells);
    for (std::size_t start = 0; start < cells.cells.size(); ++start) {
        if ((cells.cells[start] & kSeen) || (cells.cells[start] & kBandBits) == lineBand)
            continue;
        const std::vector<std::size_t>& region = walk.regionAt(start);
        if (region.empty())
            continue;
        if (const auto band = walk.surroundingBand(lineBand))
            for (const std::size_t at : region)
                cells.cells[at] = static_cast<std::uint8_t>(*band | kSeen);
    }
}

}  // namespace quarn
