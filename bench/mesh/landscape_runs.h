// Whole quarn3d-cli generate runs on a landscape band map: the full grid against the adaptive
// mesh, with hmm on the 16-bit heightmap of the same samples.
#pragma once

#include <string>

namespace quarn::bench {

struct LandscapeSetting {
    std::string cli;     // quarn3d-cli
    std::string hmm;     // empty: no comparison
    std::string folder;  // for the maps and outputs
    int side = 4096;     // map pixels per side, sampled at Interval 4
    int runs = 3;        // each time is the best of these
};

/// Prints the terraced surface kept exact and the smooth one within 0.1 % and 0.01 % of its
/// relief: triangles, time, peak memory and largest error of each run, against the full grid's
/// STL and hmm. False when a run fails.
bool CompareOnLandscape(const LandscapeSetting& setting);

/// Prints the time and peak memory of simplifying the side x side landscape map, terraced
/// exact and smooth within 0.1 %, beside the smooth full grid's heightmap, each run once.
/// False when a run fails.
bool SimplifyLargeLandscape(const LandscapeSetting& setting);

}  // namespace quarn::bench
