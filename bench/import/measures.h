// What the import benchmark measures of a cleaned map: the bands it got right away from the
// boundaries, and the heights of a terrain generated from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "colour.h"

namespace quarn::bench {

/// Each pixel of the image file at path as the band of the nearest of bandColours (RGB
/// distance), row after row from the top; nothing when unreadable or not width x height.
std::optional<std::vector<std::uint8_t>> ReadBands(const std::string& path,
                                                   const std::vector<Colour>& bandColours,
                                                   int width, int height);

/// found (indices into palette, as ReadBands gives them with palette as the band colours) with
/// each found band replaced by the true band most of its pixels have.
std::vector<std::uint8_t> MatchedToTruth(const std::vector<std::uint8_t>& truth,
                                         const std::vector<Colour>& palette,
                                         std::vector<std::uint8_t> found);

struct BandScore {
    std::size_t counted = 0;  // pixels more than 2 px from a true band boundary
    std::size_t wrong = 0;    // of those, the ones not given their true band
    double percentRight() const {
        return counted ? 100.0 * double(counted - wrong) / double(counted) : 0;
    }
};

/// found against truth (both width x height bands), over the pixels whose 5 x 5 neighbourhood
/// holds only their own true band.
BandScore ScoreBands(const std::vector<std::uint8_t>& truth, const std::vector<std::uint8_t>& found,
                     int width, int height);

/// The low and high heights of "COLS x ROWS samples, heights LOW..HIGH map units ..." in the
/// generate command's output saved at path.
std::optional<std::pair<double, double>> ReadHeightRange(const std::string& path);

/// The RMSE, in band spacings of unitsPerBand map units, of the .r16 heightmap at path (one
/// sample a pixel, 0 and 65535 standing for range) against truth (band spacings a pixel).
std::optional<double> HeightmapRmse(const std::string& path, std::pair<double, double> range,
                                    double unitsPerBand, const std::vector<float>& truth);

}  // namespace quarn::bench
