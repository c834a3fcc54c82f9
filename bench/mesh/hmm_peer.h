// hmm, the greedy Delaunay heightmap mesher, run on the benchmark's terrains for comparison.
#pragma once

#include <optional>
#include <string>

#include "bench_terrains.h"

namespace quarn::bench {

struct PeerRun {
    long triangles = 0;
    double meshSeconds = 0;  // as hmm reports its triangulation
    double seconds = 0;      // the whole run: reading the PNG, meshing, writing the STL
};

/// Writes grid as a 16-bit greyscale PNG into folder and meshes it with hmm within error (a
/// fraction of the relief); nothing when hmm fails.
std::optional<PeerRun> RunHmm(const std::string& hmm, const std::string& folder,
                              const LevelGrid& grid, double error);

/// Meshes the 16-bit heightmap png, whose full grey range spans zScale sample spacings, with
/// hmm within error (a fraction of that range) into folder; nothing when hmm fails.
std::optional<PeerRun> RunHmmOnPng(const std::string& hmm, const std::string& folder,
                                   const std::string& png, double zScale, double error);

}  // namespace quarn::bench
