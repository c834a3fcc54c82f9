#include "smooth_regions.h"

#include <algorithm>
#include <utility>

namespace quarn {

namespace {

// Calls meet(low, high) for the regions of each pair of 4-neighbours in different bands, in
// raster order of the first of the pair, its right neighbour before the one below.
template <typename Meet>
void ForEachBorder(const ClassifiedRaster& raster, const Bands& bands, const RegionLabels& label,
                   std::vector<Region>& regions, Meet meet) {
    const auto w = static_cast<std::size_t>(raster.width);
    const auto h = static_cast<std::size_t>(raster.height);
    const auto level = [&](std::size_t i) { return bands.levelOf[raster.classes[i]]; };
    const auto border = [&](std::size_t a, std::size_t b) {
        if (label[a] == kNone || label[b] == kNone || level(a) == level(b))
            return;
        if (level(a) > level(b))
            std::swap(a, b);
        meet(regions[std::size_t(label[a])], regions[std::size_t(label[b])]);
    };
    for (std::size_t y = 0, i = 0; y < h; ++y)
        for (std::size_t x = 0; x < w; ++x, ++i) {
            if (x + 1 < w)
                border(i, i + 1);
            if (y + 1 < h)
                border(i, i + w);
        }
}

// A run of pixels of one band in a row (level kNone: without height) and its region's id.
struct Run {
    std::int32_t begin = 0, end = 0, level = kNone, id = kNone;
};

// The runs that make up row y, left to right.
void RunsOf(const ClassifiedRaster& raster, const Bands& bands, std::int32_t y,
            std::vector<Run>& runs) {
    runs.clear();
    const std::uint8_t* classes =
        raster.classes.data() + std::size_t(y) * static_cast<std::size_t>(raster.width);
    for (std::int32_t x = 0; x < raster.width; ++x) {
        const std::int32_t level = bands.levelOf[classes[x]];
        if (x == 0 || level != runs.back().level)
            runs.push_back({x, x, level});
        ++runs.back().end;
    }
}

// Calls meet(up, run, columns) for each run of below and each run of above over it, with the
// columns they share.
template <typename Meet>
void ForEachOverlap(const std::vector<Run>& above, std::vector<Run>& below, Meet meet) {
    std::size_t first = 0;
    for (Run& run : below) {
        while (first < above.size() && above[first].end <= run.begin)
            ++first;
        for (std::size_t a = first; a < above.size() && above[a].begin < run.end; ++a)
            meet(above[a], run,
                 std::min(above[a].end, run.end) - std::max(above[a].begin, run.begin));
    }
}

}  // namespace

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

void RegionLabels::reset(std::size_t pixels, std::size_t regions) {
    m_narrow.clear(), m_wide.clear();
    m_narrow.shrink_to_fit(), m_wide.shrink_to_fit();
    if (regions < kNarrowNone)
        m_narrow.assign(pixels, kNarrowNone);
    else
        m_wide.assign(pixels, kNone);
}

void RegionLabels::fill(std::size_t first, std::size_t count, std::int32_t region) {
    if (!m_wide.empty())
        std::fill_n(m_wide.begin() + std::ptrdiff_t(first), count, region);
    else
        std::fill_n(m_narrow.begin() + std::ptrdiff_t(first), count,
                    region == kNone ? kNarrowNone : static_cast<std::uint16_t>(region));
}

std::vector<Region> LabelRegions(const ClassifiedRaster& raster, const Bands& bands,
                                 RegionLabels& labels) {
    std::vector<std::int32_t> parent;  // every id's root being the least id of its region
    const auto find = [&](std::int32_t a) {
        while (parent[std::size_t(a)] != a)
            a = parent[std::size_t(a)] = parent[std::size_t(parent[std::size_t(a)])];
        return a;
    };
    // A run joins the regions of the runs of its band over it; one that joins none starts a
    // region with the next id, so a region's least id is that of its first pixel.
    std::vector<Run> above, row;
    const auto join = [&](const Run& up, Run& run, std::int32_t) {
        if (run.level == kNone || up.level != run.level)
            return;
        const std::int32_t root = find(up.id);
        if (run.id != kNone && root != run.id)
            parent[std::size_t(std::max(root, run.id))] = std::min(root, run.id);
        run.id = run.id == kNone ? root : std::min(root, run.id);
    };
    for (std::int32_t y = 0; y < raster.height; ++y) {
        RunsOf(raster, bands, y, row);
        ForEachOverlap(above, row, join);
        for (Run& run : row)
            if (run.level != kNone && run.id == kNone) {
                run.id = static_cast<std::int32_t>(parent.size());
                parent.push_back(run.id);
            }
        std::swap(above, row);
    }
    std::vector<std::int32_t> compact(parent.size(), kNone);
    std::int32_t count = 0;
    for (std::size_t r = 0; r < parent.size(); ++r) {
        const std::int32_t root = find(static_cast<std::int32_t>(r));
        if (compact[std::size_t(root)] == kNone)
            compact[std::size_t(root)] = count++;
        compact[r] = compact[std::size_t(root)];
    }
    // The same runs again, those joining none taking the next id's region, the others that of
    // the runs over them: the labels, and each region's band, area and edges.
    labels.reset(raster.classes.size(), std::size_t(count));
    std::vector<Region> regions(static_cast<std::size_t>(count));
    const auto meet = [&](const Run& a, const Run& b, std::int32_t edges) {
        if (a.level == kNone || b.level == kNone || a.level == b.level)
            return;
        const bool aLower = a.level < b.level;
        regions[std::size_t(aLower ? a.id : b.id)].aboveEdges += std::size_t(edges);
        regions[std::size_t(aLower ? b.id : a.id)].belowEdges += std::size_t(edges);
    };
    std::size_t next = 0;
    above.clear();
    for (std::int32_t y = 0; y < raster.height; ++y) {
        RunsOf(raster, bands, y, row);
        ForEachOverlap(above, row, [](const Run& up, Run& run, std::int32_t) {
            if (run.level != kNone && up.level == run.level)
                run.id = up.id;
        });
        for (std::size_t k = 0; k < row.size(); ++k) {
            Run& run = row[k];
            const std::size_t first = std::size_t(y) * std::size_t(raster.width);
            if (run.level != kNone && run.id == kNone)
                run.id = compact[next++];
            labels.fill(first + std::size_t(run.begin), std::size_t(run.end - run.begin), run.id);
            if (run.level == kNone)
                continue;
            Region& region = regions[std::size_t(run.id)];
            region.level = run.level;
            region.height = bands.heights[std::size_t(run.level)];
            region.area += std::size_t(run.end - run.begin);
            region.cutByEdge = region.cutByEdge || y == 0 || y + 1 == raster.height ||
                               run.begin == 0 || run.end == raster.width;
            if (k > 0)
                meet(row[k - 1], run, 1);
        }
        ForEachOverlap(above, row, meet);
        std::swap(above, row);
    }
    return regions;
}

void GatherAround(const ClassifiedRaster& raster, const Bands& bands, const RegionLabels& labels,
                  std::vector<Region>& regions) {
    ForEachBorder(raster, bands, labels, regions, [](Region& low, Region& high) {
        if (high.twoSided())
            low.aroundSum += high.ramp(), ++low.aroundEdges;
        if (low.twoSided())
            high.aroundSum += low.ramp(), ++high.aroundEdges;
    });
}

}  // namespace quarn
