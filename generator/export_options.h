// Settings of the export formats that the panel does not hold: the printed solid's size.
//
// The window always uses the defaults; the command line can set them.
#pragma once

namespace quarn {

struct ExportOptions {
    double printSizeMm = 150;  // the printed solid's longer horizontal side
    double exaggeration = 1;   // vertical scale over the horizontal one
    double baseMm = 3;         // from the bottom to the lowest terrain point
};

}  // namespace quarn
