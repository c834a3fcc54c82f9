// Heights kept for the pixels beside pixels without height.
//
// A pixel without height takes the smooth height of its nearest pixel with one, which lies
// beside a pixel without height, maybe in a band of rows still to come. So the first pass of
// the smooth surface notes for each such pixel of a sloping region what its height needs
// (BorderPixel); once the regions' slopes are known, settle() works the heights out, and at()
// gives them, or a flat region's own height, for any pixel with a height. Memory: 12 bytes per
// such pixel (24 while noted).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "smooth_heights.h"

namespace quarn {

/// What the height of a pixel beside one without height needs.
struct BorderPixel {
    std::size_t pixel = 0;
    float near = 0;  // the distance to the side measured first, the only one if one-sided
    std::int32_t nearRegion = kNone;
    float far = 0;  // the distance to the higher side of a two-sided region
    std::int32_t farRegion = kNone;
};

class BorderHeights {
  public:
    /// Works out the heights of pixels, each noted once, from the regions' final slopes.
    void settle(std::vector<BorderPixel> pixels, const std::vector<Region>& regions,
                const RegionLabels& labels);

    /// The height of pixel, of region: the region's own where it is flat, else the one
    /// settled.
    float at(std::size_t pixel, const Region& region) const;

  private:
    std::vector<std::size_t> m_pixels;  // ascending
    std::vector<float> m_heights;
};

}  // namespace quarn
