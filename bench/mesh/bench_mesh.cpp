// Adaptive-mesh benchmark: how few triangles SimplifyGrid needs, and how fast, on 1024 x 1024
// terrains: a terraced one of 10 flat levels kept exact at every sample, and a smooth field of
// hills 750 map units high within 0.1 % and 0.01 % of that relief. Each is timed as the best
// of three runs and printed with its triangle count and largest error, beside hmm (greedy
// Delaunay insertion) on the same levels as a 16-bit PNG when hmm is found, with the time hmm
// reports for its triangulation and that of its whole run (reading the PNG, writing the STL).
// Then a 4096 x 4096 field of hills within 0.01 %, with the process's peak resident memory.
// Then whole quarn3d-cli generate runs on a 4096 x 4096 landscape map of 16 bands at Interval 4
// (terraced exact, smooth within 0.1 % and 0.01 %), against the full grid's STL and hmm on the
// heightmap of the same samples, and the same map drawn 16384 x 16384, simplified.
//
// Usage: quarn_bench_mesh [--smoke] [path/to/hmm]; --smoke uses 128 x 128 grids and maps of
// 512 and 1024 pixels, without hmm and the large grid, only to show that the benchmark still
// works.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "adaptive_mesh.h"
#include "bench_folder.h"
#include "bench_terrains.h"
#include "hmm_peer.h"
#include "landscape_runs.h"

namespace {

using quarn::bench::LevelGrid;

constexpr double kRelief = 750;

struct Timed {
    quarn::AdaptiveMesh mesh;
    double seconds = 0;
};

Timed BestOfThree(const LevelGrid& terrain, double maxError) {
    const std::vector<float> heights = terrain.heights();
    const quarn::HeightGrid grid{terrain.side, terrain.side, heights};
    Timed best{{}, 1e300};
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        quarn::AdaptiveMesh mesh = quarn::SimplifyGrid(grid, maxError, 0);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds < best.seconds)
            best = {std::move(mesh), seconds};
    }
    return best;
}

void Compare(const char* name, const LevelGrid& terrain, double fraction, double hmmFraction,
             const std::string& hmm, const std::string& folder) {
    const double maxError = fraction * terrain.relief;
    const Timed ours = BestOfThree(terrain, maxError);
    char bound[32] = "exact";
    if (fraction > 0)
        std::snprintf(bound, sizeof bound, "%g %% of relief", fraction * 100);
    std::printf("  %-13s %-17s %9zu %8.3f s %10.4g (%.2g %%)", name, bound,
                ours.mesh.triangles.size(), ours.seconds, ours.mesh.largestError,
                100 * ours.mesh.largestError / terrain.relief);
    if (!hmm.empty()) {
        if (const auto peer = quarn::bench::RunHmm(hmm, folder, terrain, hmmFraction))
            std::printf("   | hmm -e %-7g %9ld %8.3f s (%.3f s in all)", hmmFraction,
                        peer->triangles, peer->meshSeconds, peer->seconds);
        else
            std::printf("   | hmm failed");
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const bool smoke = argc > 1 && std::string_view(argv[1]) == "--smoke";
    const int rest = smoke ? 2 : 1;
    if (argc > rest + 1) {
        std::fprintf(stderr, "Usage: quarn_bench_mesh [--smoke] [path/to/hmm]\n");
        return 2;
    }
    std::string hmm = argc > rest ? argv[rest] : QUARN_HMM_PATH;
    if (smoke || !std::filesystem::exists(hmm)) {
        if (!smoke)
            std::printf("hmm not found at %s: no comparison\n", hmm.c_str());
        hmm.clear();
    }
    const auto folder = quarn::bench::BenchFolder("quarn-bench-mesh");

    const int side = smoke ? 128 : 1024;
    const LevelGrid terraces = quarn::bench::Terraces(side, kRelief, 10, 7);
    const LevelGrid hills = quarn::bench::SmoothHills(side, kRelief, 11);
    std::printf(
        "SimplifyGrid on %d x %d grids (the full grid: %ld triangles), best of 3 runs\n"
        "  terrain       bound             triangles     time  largest error\n",
        side, side, 2L * (side - 1) * (side - 1));
    // hmm's bound for the terraces lies under half a level: exact on levels that are integers.
    Compare("terraced", terraces, 0, 1e-5, hmm, folder.string());
    Compare("smooth hills", hills, 1e-3, 1e-3, hmm, folder.string());
    Compare("smooth hills", hills, 1e-4, 1e-4, hmm, folder.string());

    if (!smoke) {
        const LevelGrid large = quarn::bench::SmoothHills(4096, kRelief, 11);
        std::printf("SimplifyGrid on a 4096 x 4096 grid\n");
        Compare("smooth hills", large, 1e-4, 1e-4, "", "");
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("Peak resident memory of the benchmark: %.1f MiB\n",
                    double(usage.ru_maxrss) / 1024.0);
    }

    quarn::bench::LandscapeSetting landscape{QUARN_CLI_PATH, hmm, folder.string(),
                                             smoke ? 512 : 4096, smoke ? 1 : 3};
    bool ran = quarn::bench::CompareOnLandscape(landscape);
    landscape.side = smoke ? 1024 : 16384;
    landscape.runs = 1;
    ran = ran && quarn::bench::SimplifyLargeLandscape(landscape);
    std::filesystem::remove_all(folder);
    return ran ? 0 : 1;
}
