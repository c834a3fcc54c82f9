// The adaptive-mesh benchmark's terrains: square grids of 16-bit levels, as a 16-bit
// greyscale heightmap holds them, with the height in map units of the full level range.
//
// The smooth one is a field of rounded hills over a tilted plain spanning the whole level
// range; the terraced one cuts another such field into flat levels with vertical steps
// between them. Samples are 1 map unit apart.
#pragma once

#include <cstdint>
#include <vector>

namespace quarn::bench {

struct LevelGrid {
    int side = 0;
    std::vector<std::uint16_t> levels;  // row after row from the top
    double relief = 0;                  // map units from level 0 to level 65535

    /// The heights in map units, as the mesh takes them.
    std::vector<float> heights() const;
};

/// A field of hills from seed over a side x side grid of sample centres on [0, 1]^2, row after
/// row from the top, scaled to [0, 1].
std::vector<double> HillField(int side, unsigned seed);

/// Hills from seed over the full level range.
LevelGrid SmoothHills(int side, double relief, unsigned seed);

/// Hills from seed cut into the given number of flat levels, evenly spaced over the range.
LevelGrid Terraces(int side, double relief, int levelCount, unsigned seed);

}  // namespace quarn::bench
