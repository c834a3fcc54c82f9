// The smooth surface's pieces of map: bands of equal height and their connected regions.
//
// A band is one distinct set height (classes of equal height share it); a region is a
// 4-connected area of one band, numbered in order of its first pixel, row after row, and
// labelled per pixel (RegionLabels). Heights are normalised like NormalisedLevels::norm. Pixels
// without a height have no band and no region (kNone). See smooth_surface.h for the shape of the
// surface.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

inline constexpr std::int32_t kNone = -1;

/// The distinct set heights, ascending, and each class's place among them (kNone: no height).
struct Bands {
    std::vector<float> heights;
    std::array<std::int32_t, kNoClass + 1> levelOf{};
};

/// The bands of the set heights.
Bands BandsOf(const NormalisedLevels& levels);

/// A 4-connected area of one band and the bands it borders.
struct Region {
    std::int32_t level = kNone;  // the band's place among the set heights
    float height = 0;            // the band's height
    std::size_t area = 0;
    std::size_t belowEdges = 0, aboveEdges = 0;  // pixel edges shared with lower, higher bands
    bool cutByEdge = false;  // touches the map's edge, beyond which the land goes on
    // The slopes across a two-sided region at its pixels, in height per pixel.
    double rampSum = 0;
    std::size_t rampCount = 0;
    // The ramps of the two-sided regions around, weighted by the edges shared with each.
    double aroundSum = 0;
    std::size_t aroundEdges = 0;
    float farthest = 0;  // a one-sided region's largest distance to its bordering side

    bool lower() const { return belowEdges > 0; }
    bool higher() const { return aboveEdges > 0; }
    bool twoSided() const { return lower() && higher(); }
    double ramp() const { return rampCount > 0 ? rampSum / double(rampCount) : 0; }
    double around() const { return aroundEdges > 0 ? aroundSum / double(aroundEdges) : 0; }
};

/// Each pixel's region, kNone where it has no height: 2 bytes a pixel on maps of fewer than
/// 65535 regions, 4 on others.
class RegionLabels {
  public:
    /// Room for pixels labels of regions numbered below regions, none set yet.
    void reset(std::size_t pixels, std::size_t regions);
    /// Labels pixels first..first + count - 1 with region.
    void fill(std::size_t first, std::size_t count, std::int32_t region);

    std::int32_t operator[](std::size_t pixel) const {
        if (!m_wide.empty())
            return m_wide[pixel];
        return m_narrow[pixel] == kNarrowNone ? kNone : m_narrow[pixel];
    }

  private:
    static constexpr std::uint16_t kNarrowNone = 0xFFFF;
    std::vector<std::uint16_t> m_narrow;
    std::vector<std::int32_t> m_wide;
};

/// Labels the regions of every pixel of raster and returns them with the edges each shares
/// with other bands and whether it touches the map's edge.
std::vector<Region> LabelRegions(const ClassifiedRaster& raster, const Bands& bands,
                                 RegionLabels& labels);

/// Adds to each region the ramps of the two-sided regions it borders, pixel edge by edge.
void GatherAround(const ClassifiedRaster& raster, const Bands& bands, const RegionLabels& labels,
                  std::vector<Region>& regions);

}  // namespace quarn
