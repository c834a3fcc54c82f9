// Settings of the generate command that the panel does not hold: the surface between the
// contour bands, the printed solid's size, the mesh detail and the map's place on Earth.
//
// The window sets the surface from its Options menu and leaves the rest at the defaults; the
// command line can set them all, the sizes within their ranges.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "georeference.h"

namespace quarn {

/// Terraced: each band flat at its height; Smooth: interpolated between the bands.
enum class Surface { Terraced, Smooth };

/// The colours of a print: the height classes', or the map's own bands'.
enum class PrintColours { Classes, Bands };

/// The values a solid's size may take, both ends included.
struct SizeRange {
    double low, high;
};

// Within these no solid is degenerate: a map is at most 16384 pixels a side, so a grid step is
// at least 1 / 16383 of the print size, and the lowest point stands the base above the bottom;
// both stay far from 0 in 32-bit floats, so every facet keeps an area.
inline constexpr SizeRange kPrintSizeRange{1, 10000};  // millimetres
inline constexpr SizeRange kExaggerationRange{0.01, 100};
inline constexpr SizeRange kBaseRange{0.1, 1000};  // millimetres

struct ExportOptions {
    double printSizeMm = 150;  // the printed solid's longer horizontal side
    double exaggeration = 1;   // vertical scale over the horizontal one
    double baseMm = 3;         // from the bottom to the lowest terrain point
    Surface surface = Surface::Terraced;
    // Mesh detail: without either, the full grid. maxError in map units, vertical (0: exact at
    // every sample); maxTriangles 0 for no budget.
    std::optional<double> maxError{};
    std::size_t maxTriangles = 0;

    // Where the map lies on Earth (its world file or GeoTIFF tags), and a coordinate system
    // named for it (WKT) that takes the place of the map's; the elevation outputs carry both.
    std::optional<Georeference> mapPlace{};
    std::string coordinateSystem{};
    // A print's colours, and the map's band colours by palette index for PrintColours::Bands.
    PrintColours printColours = PrintColours::Classes;
    std::array<std::uint32_t, 16> bandColours{};
    // STL and 3MF: a closed part per band besides (STL) or instead of (3MF) the one solid.
    bool partsByBand = false;

    bool simplifies() const { return maxError.has_value() || maxTriangles > 0; }
};

}  // namespace quarn
