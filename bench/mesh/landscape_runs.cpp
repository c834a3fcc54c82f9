#include "landscape_runs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "band_map.h"
#include "bench_terrains.h"
#include "child_run.h"
#include "hmm_peer.h"

namespace quarn::bench {

namespace {

constexpr int kFieldSide = 4096;  // the most hill field samples per side
constexpr unsigned kSeed = 11;
constexpr int kBands = 16;
constexpr double kBandStep = 50;  // map units between bands: 750 from the lowest to the highest
constexpr int kInterval = 4;

// Writes a side x side map of the hills cut into 16 bands. Above 4096 pixels the field is
// resampled bilinearly, so that a larger map shows the same land with finer outlines.
void WriteLandscapeMap(const std::string& path, int side) {
    const int fieldSide = std::min(side, kFieldSide);
    const std::vector<double> field = HillField(fieldSide, kSeed);
    const auto at = [&field, fieldSide](int col, int row) {
        col = std::clamp(col, 0, fieldSide - 1), row = std::clamp(row, 0, fieldSide - 1);
        return field[std::size_t(row) * std::size_t(fieldSide) + std::size_t(col)];
    };
    const double scale = double(fieldSide) / side;
    WriteBandMap(path, side, [&](int x, int y) {
        const double fx = (x + 0.5) * scale - 0.5, fy = (y + 0.5) * scale - 0.5;
        const int col = int(std::floor(fx)), row = int(std::floor(fy));
        const double tx = fx - col, ty = fy - row;
        const double v = (1 - ty) * ((1 - tx) * at(col, row) + tx * at(col + 1, row)) +
                         ty * ((1 - tx) * at(col, row + 1) + tx * at(col + 1, row + 1));
        return static_cast<std::uint8_t>(std::min(kBands - 1, int(v * kBands)));
    });
}

struct Generated {
    ChildRun run;
    long triangles = 0;
    std::optional<double> largestError;
    std::optional<double> relief;  // a heightmap's, from its summary
};

std::optional<Generated> Generate(const LandscapeSetting& s, const std::string& map,
                                  const std::string& output, const std::string& surface,
                                  std::optional<double> maxError) {
    const std::string extent = std::to_string(s.side);
    std::vector<std::string> args{
        s.cli,          "generate", map,           output,
        "--water",      "50",       "--lawn",      "250",
        "--snow",       "600",      "--map-width", extent,
        "--map-height", extent,     "--interval",  std::to_string(kInterval),
        "--surface",    surface};
    for (int b = 0; b < kBands; ++b) {
        args.emplace_back("--height");
        args.push_back(std::to_string(b) + "=" + std::to_string(int(b * kBandStep)));
    }
    if (maxError) {
        char text[32];
        std::snprintf(text, sizeof text, "%.9g", *maxError);
        args.insert(args.end(), {"--max-error", text});
    }
    const std::string summaryPath = s.folder + "/summary.txt";
    Generated best;
    best.run.seconds = 1e300;
    for (int run = 0; run < s.runs; ++run) {
        const ChildRun r = RunChild(args, summaryPath);
        if (r.status != 0) {
            std::fprintf(stderr, "quarn3d-cli generate %s failed (status %d)\n", output.c_str(),
                         r.status);
            return std::nullopt;
        }
        best.run.seconds = std::min(best.run.seconds, r.seconds);
        best.run.peakKiB = std::max(best.run.peakKiB, r.peakKiB);
    }
    std::ifstream in(summaryPath);
    const std::string summary{std::istreambuf_iterator<char>(in), {}};
    long vertices = 0;
    std::sscanf(summary.c_str(), "%ld vertices, %ld triangles", &vertices, &best.triangles);
    const std::size_t error = summary.find("largest vertical error ");
    if (error != std::string::npos)
        best.largestError = std::atof(summary.c_str() + error + 23);
    // "heights LOW..HIGH map units": read apart, as "50." would pass for a number.
    const std::size_t heights = summary.find("heights "), to = summary.find("..", heights);
    if (heights != std::string::npos && to != std::string::npos)
        best.relief =
            std::atof(summary.c_str() + to + 2) - std::atof(summary.c_str() + heights + 8);
    return best;
}

// The peak memory only where the child needs more than the benchmark itself held before.
void PrintRun(const char* what, const Generated& g, bool withPeak = false) {
    std::printf("  %-34s %9ld %8.3f s", what, g.triangles, g.run.seconds);
    if (withPeak)
        std::printf(" %8.1f MiB", double(g.run.peakKiB) / 1024.0);
    if (g.largestError)
        std::printf("  largest error %.4g", *g.largestError);
    std::printf("\n");
}

// One surface: the full grid's heightmap and STL, then the adaptive STL at each bound (a
// fraction of the heightmap's relief) beside hmm on that heightmap.
bool CompareSurface(const LandscapeSetting& s, const std::string& map, const char* surface,
                    const std::vector<double>& fractions, double hmmExactFraction) {
    const std::string png = s.folder + "/" + surface + ".png";
    const auto heightmap = Generate(s, map, png, surface, std::nullopt);
    const auto full = Generate(s, map, s.folder + "/full.stl", surface, std::nullopt);
    if (!heightmap || !full || !heightmap->relief)
        return false;
    const double relief = *heightmap->relief;
    std::printf("%s surface, relief %.6g map units\n", surface, relief);
    PrintRun("full grid STL", *full);
    for (const double fraction : fractions) {
        const auto ours = Generate(s, map, s.folder + "/adaptive.stl", surface, fraction * relief);
        if (!ours)
            return false;
        char what[64] = "--max-error 0 (exact) STL";
        if (fraction > 0)
            std::snprintf(what, sizeof what, "--max-error %.4g (%g %%) STL", fraction * relief,
                          fraction * 100);
        PrintRun(what, *ours);
        if (s.hmm.empty())
            continue;
        // hmm sees the rounded heightmap: its exact bound lies under half a level step.
        const double hmmFraction = fraction > 0 ? fraction : hmmExactFraction;
        const auto peer = RunHmmOnPng(s.hmm, s.folder, png, relief / kInterval, hmmFraction);
        if (!peer) {
            std::printf("    hmm failed\n");
            continue;
        }
        std::printf(
            "    hmm -e %-8g %19ld %8.3f s meshing, %.3f s in all; budget for ours: "
            "full grid + hmm = %.3f s\n",
            hmmFraction, peer->triangles, peer->meshSeconds, peer->seconds,
            full->run.seconds + peer->seconds);
    }
    return true;
}

}  // namespace

bool CompareOnLandscape(const LandscapeSetting& s) {
    const std::string map = s.folder + "/landscape.bmp";
    WriteLandscapeMap(map, s.side);
    std::printf(
        "Whole quarn3d-cli generate runs on a %d x %d landscape map at Interval %d "
        "(%d x %d samples), best of %d\n"
        "  run                                triangles     time\n",
        s.side, s.side, kInterval, s.side / kInterval, s.side / kInterval, s.runs);
    return CompareSurface(s, map, "terraced", {0}, 1e-5) &&
           CompareSurface(s, map, "smooth", {1e-3, 1e-4}, 0);
}

bool SimplifyLargeLandscape(const LandscapeSetting& s) {
    const std::string map = s.folder + "/large.bmp";
    WriteLandscapeMap(map, s.side);
    std::printf(
        "Simplifying a %d x %d landscape map at Interval %d, once each\n"
        "  run                                triangles     time  peak RSS\n",
        s.side, s.side, kInterval);
    const std::string stl = s.folder + "/large.stl";
    const auto exact = Generate(s, map, stl, "terraced", 0.0);
    const auto heightmap = Generate(s, map, s.folder + "/large.png", "smooth", std::nullopt);
    if (!exact || !heightmap || !heightmap->relief)
        return false;
    const auto smooth = Generate(s, map, stl, "smooth", 1e-3 * *heightmap->relief);
    if (!smooth)
        return false;
    PrintRun("terraced, exact", *exact, true);
    PrintRun("smooth, full grid heightmap PNG", *heightmap, true);
    PrintRun("smooth, within 0.1 %", *smooth, true);
    return true;
}

}  // namespace quarn::bench
