#include "border_heights.h"

#include <algorithm>

namespace quarn {

void BorderHeights::settle(std::vector<BorderPixel> pixels, const std::vector<Region>& regions,
                           const RegionLabels& labels) {
    std::sort(pixels.begin(), pixels.end(),
              [](const BorderPixel& a, const BorderPixel& b) { return a.pixel < b.pixel; });
    m_pixels.clear(), m_heights.clear();
    for (const BorderPixel& p : pixels) {
        const Region& region = regions[std::size_t(labels[p.pixel])];
        const Region& near = regions[std::size_t(p.nearRegion)];
        m_pixels.push_back(p.pixel);
        m_heights.push_back(
            p.farRegion == kNone
                ? HeightBeyond(region, p.near, near)
                : HeightBetween(region, p.near, near, p.far, regions[std::size_t(p.farRegion)]));
    }
}

float BorderHeights::at(std::size_t pixel, const Region& region) const {
    if (!region.lower() && !region.higher())
        return region.height;
    const auto found = std::lower_bound(m_pixels.begin(), m_pixels.end(), pixel);
    return m_heights[static_cast<std::size_t>(found - m_pixels.begin())];
}

}  // namespace quarn
