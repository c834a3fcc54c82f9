// Settings of the generate command that the panel does not hold: the surface between the
// contour bands and the printed solid's size.
//
// The window sets the surface from its Options menu and leaves the rest at the defaults; the
// command line can set them all.
#pragma once

namespace quarn {

/// Terraced: each band flat at its height; Smooth: interpolated between the bands.
enum class Surface { Terraced, Smooth };

struct ExportOptions {
    double printSizeMm = 150;  // the printed solid's longer horizontal side
    double exaggeration = 1;   // vertical scale over the horizontal one
    double baseMm = 3;         // from the bottom to the lowest terrain point
    Surface surface = Surface::Terraced;
};

}  // namespace quarn
