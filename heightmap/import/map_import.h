// Cleaning a map image (a scan, a PNG or JPEG export, an anti-aliased drawing) into at most 16
// colour bands that the rest of the system reads as a 16-colour map.
//
// Each pixel takes the nearest band colour in CIELAB, lightness weighted down (hill shading
// changes lightness, not hue), never dithered; fringe pixels between bands then take the band
// of most of their neighbours; thin dark linework (contours, grids, lettering) is found by its
// lightness and thinness and filled from the bands around it, unless kept as a band of its
// own. The bands come from a legend, or are found in the image (deterministic: the same image
// gives the same bands). All of it works on plain arrays, without the toolkit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "binary_io.h"
#include "colour.h"

namespace quarn {

inline constexpr int kMaxBands = 16;

/// A decoded image: width x height pixels, row after row from the top.
struct RgbImage {
    std::int32_t width = 0, height = 0;
    std::vector<Colour> pixels;

    Colour pixel(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

/// One line of a legend: the elevation of the band and its colour.
struct LegendEntry {
    double elevation = 0;
    Colour colour = 0;
};

/// A legend read from the text format of `gdaldem color-relief`, or why it was refused (a
/// message naming the line).
struct LegendReading {
    std::vector<LegendEntry> entries;  // palette index = the line's order
    std::string refusal;               // empty when read
};

LegendReading ParseLegend(std::string_view text);

/// An elevation as the shortest decimal that reads back as it ("250.5", "-1e-05").
std::string ElevationText(double elevation);

/// Whether dark linework is removed (each of its pixels takes the band around it) or kept as a
/// band of its own.
enum class Linework { Remove, Keep };

struct CleaningOptions {
    std::vector<Colour> legendColours;  // the bands, when a legend gives them
    int bands = 0;                      // without a legend: 2 to 16, or 0 for as many as clear
    Linework linework = Linework::Remove;
};

/// The cleaned map: a palette index for every pixel.
struct BandMap {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint8_t> indices;     // row after row from the top
    std::vector<Colour> palette;           // the band colours, at most 16
    std::vector<double> shares;            // each band's share of the pixels, 0 to 1
    std::optional<std::uint8_t> lineBand;  // the linework's band, when kept
};

/// The cleaned map, or why the image was refused (a legend that matches it badly names the
/// share that matched).
struct Cleaning {
    std::optional<BandMap> map;
    std::string refusal;
};

Cleaning CleanMap(const RgbImage& image, const CleaningOptions& options);

/// Writes map as a 16-colour BMP: 4 bits per pixel, a 40-byte info header, uncompressed, the
/// band colours as its palette and the unused entries black.
void WriteBandBmp(BinaryWriter& out, const BandMap& map);

}  // namespace quarn
