// CleanMap: linework marked first, so that neither the band colours found nor the legend's
// match count it; then every pixel classified and, unless each is exactly its band's colour
// (a clean map, taken as it is), the linework filled or kept, the fringes smoothed, the stray
// pixels and small regions absorbed by the bands around them.
#include <cmath>
#include <string>

#include "band_classify.h"
#include "band_finding.h"
#include "linework.h"
#include "map_import.h"
#include "small_regions.h"

namespace quarn {

namespace {

// A legend whose colours are near fewer of the pixels than this is for another map.
constexpr double kLeastLegendMatch = 0.5;

std::string Percent(double share) {
    return std::to_string(static_cast<int>(std::lround(share * 100))) + "%";
}

BandMap Finish(PixelCells& cells, std::vector<Colour> palette,
               std::optional<std::uint8_t> lineBand) {
    BandMap map{cells.width,        cells.height, std::move(cells.cells),
                std::move(palette), {},           lineBand};
    cells.scratch = {};
    std::vector<std::size_t> counts(map.palette.size());
    for (std::uint8_t& index : map.indices) {
        index &= kBandBits;
        ++counts[index];
    }
    for (const std::size_t count : counts)
        map.shares.push_back(static_cast<double>(count) / static_cast<double>(map.indices.size()));
    return map;
}

}  // namespace

Cleaning CleanMap(const RgbImage& image, const CleaningOptions& options) {
    if (image.width < 1 || image.height < 1)
        return {std::nullopt, "The image has no pixels"};
    PixelCells cells(image.width, image.height);
    MarkLinework(image, cells);
    const bool legend = !options.legendColours.empty();
    std::vector<Colour> palette =
        legend ? options.legendColours : FindBands(image, cells, options.bands);
    if (palette.empty())
        return {std::nullopt, "The image holds no colour band besides its linework"};
    std::optional<std::uint8_t> lineBand;
    if (options.linework == Linework::Keep)
        if (const auto colour = LineworkColour(image, cells)) {
            if (palette.size() == kMaxBands)
                return {std::nullopt, "No room for the linework beside 16 bands"};
            lineBand = static_cast<std::uint8_t>(palette.size());
            palette.push_back(*colour);
        }
    const bool clean = ClassifyPixels(image, BandTable(palette), cells, lineBand);
    if (legend)
        if (const double share = NearBandShare(cells); share < kLeastLegendMatch)
            return {std::nullopt, "The legend does not fit the map: only " + Percent(share) +
                                      " of its pixels are near a legend colour"};
    if (!clean) {
        FillLinework(cells);
        SmoothFringes(cells);
        RemoveStrays(cells);
        AbsorbSmallRegions(cells, lineBand);
    }
    return {Finish(cells, std::move(palette), lineBand), {}};
}

}  // namespace quarn
