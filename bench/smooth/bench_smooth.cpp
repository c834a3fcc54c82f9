// Smooth-surface benchmark: how closely the smooth surface restores a landscape from its
// contour bands, against the terraced one, and how fast a large map goes through the CLI.
//
// Each landscape is a smooth function cut into 16 equal bands (band b covers [b, b + 1) band
// spacings; its colour's height is the band's middle). Per landscape it prints the RMSE of
// the per-pixel heights against the landscape, in band spacings, over the whole map and over
// the strip along the map's edge, terraced and smooth: first with the landscape's highest and
// lowest points in the middle of the outer bands, as a summit's height is on average between
// two contours, then at the far ends, the worst case for summits and pits. Then it times
// `quarn3d-cli generate --surface smooth` (and terraced) on a 4096 x 4096 map of the hills at
// CellSize 4, and smooth on a 16384 x 16384 one at CellSize 4 and 16, with the child's peak
// resident memory, against the goals for the large map: at most 2 GB, and time growing no
// faster than the pixels from the 4096 x 4096 figure.
// Usage: quarn_bench_smooth [--smoke] [path/to/quarn3d-cli]; --smoke uses small maps, only to
// show that the benchmark still works. quarn_bench_smooth --peer-maps FOLDER SIDE writes the
// landscapes for bench/smooth/grass_peer.py.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "band_map.h"
#include "bench_folder.h"
#include "child_run.h"
#include "smooth_surface.h"

namespace {

using Landscape = std::function<double(double x, double y)>;  // on [0, 1]^2, any scale

double Bump(double x, double y, double cx, double cy, double r) {
    return std::exp(-((x - cx) * (x - cx) + (y - cy) * (y - cy)) / (r * r));
}

// Landscapes as a map cut from a larger country shows them: sloping ground that goes on past
// the edges, so that no band is a wide plain at the very bottom or top of its range.
const std::pair<const char*, Landscape> kLandscapes[] = {
    {"hills",
     [](double x, double y) {
         return Bump(x, y, 0.3, 0.3, 0.18) + 0.8 * Bump(x, y, 0.7, 0.35, 0.15) +
                0.6 * Bump(x, y, 0.45, 0.75, 0.2) + 0.3 * x + 0.2 * y;
     }},
    {"ridge",
     [](double x, double y) {
         const double d = y - 0.3 - 0.4 * x;  // distance across a slanting crest line
         return 0.6 + 0.2 * std::sin(3 * x) - 1.2 * std::sqrt(d * d + 0.01);
     }},
    {"crater",
     [](double x, double y) {
         const double r = std::hypot(x - 0.5, y - 0.5);
         return 0.5 * (1 - r) + std::exp(-(r - 0.25) * (r - 0.25) / 0.01) -
                0.7 * Bump(x, y, 0.5, 0.5, 0.12);
     }},
    {"edge slopes",
     [](double x, double y) { return 0.6 * x + 0.3 * y + 0.5 * Bump(x, y, 1.05, -0.05, 0.3); }},
    // Not a goal: the lowest band a wide plain at the bottom of its range, where its colour
    // cannot tell how low the plain lies.
    {"hills on a plain",
     [](double x, double y) {
         return Bump(x, y, 0.3, 0.3, 0.18) + 0.8 * Bump(x, y, 0.7, 0.35, 0.15) +
                0.6 * Bump(x, y, 0.45, 0.75, 0.2);
     }},
};

// The landscape scaled to [end, 16 - end] band spacings, per pixel: its lowest and highest
// points lie end inside the outer bands.
std::vector<double> Sampled(const Landscape& f, int side, double end) {
    std::vector<double> z(std::size_t(side) * std::size_t(side));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            z[std::size_t(y * side + x)] = f((x + 0.5) / side, (y + 0.5) / side);
    const auto [lo, hi] = std::minmax_element(z.begin(), z.end());
    const double low = *lo, scale = (16 - 2 * end) / (*hi - *lo);
    for (double& v : z)
        v = end + (v - low) * scale;
    return z;
}

struct Rmse {
    double all = 0, edge = 0;
};

Rmse RmseOf(const std::vector<double>& z, const std::function<double(std::size_t)>& h, int side) {
    const int strip = std::max(1, side / 20);
    double all = 0, edge = 0;
    std::size_t edgeCount = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const std::size_t i = std::size_t(y * side + x);
            const double e = (h(i) - z[i]) * (h(i) - z[i]);
            all += e;
            if (std::min({x, y, side - 1 - x, side - 1 - y}) < strip) {
                edge += e;
                ++edgeCount;
            }
        }
    return {std::sqrt(all / double(z.size())), std::sqrt(edge / double(edgeCount))};
}

quarn::NormalisedLevels BandMiddles() {
    quarn::NormalisedLevels levels;
    for (std::size_t b = 0; b < 16; ++b) {
        levels.norm[b] = float(b) + 0.5f;
        levels.set[b] = true;
    }
    levels.meanOfSet = 8;
    return levels;
}

quarn::ClassifiedRaster BandsOf(const std::vector<double>& z, int side) {
    quarn::ClassifiedRaster raster{side, side, {}};
    for (double v : z)
        raster.classes.push_back(static_cast<std::uint8_t>(std::min(v, 15.0)));
    return raster;
}

void PrintAccuracy(int side, double end, const char* where) {
    std::printf(
        "RMSE in band spacings on %dx%d maps of 16 bands (whole map / edge strip),\n"
        "highest and lowest points %s\n",
        side, side, where);
    for (const auto& [name, landscape] : kLandscapes) {
        const std::vector<double> z = Sampled(landscape, side, end);
        const quarn::ClassifiedRaster raster = BandsOf(z, side);
        const std::vector<float> smooth = quarn::SmoothSurface(raster, BandMiddles());
        const Rmse terraced = RmseOf(
            z, [&](std::size_t i) { return raster.classes[i] + 0.5; }, side);
        const Rmse smoothed = RmseOf(
            z, [&](std::size_t i) { return smooth[i]; }, side);
        std::printf("  %-17s terraced %.3f / %.3f   smooth %.3f / %.3f\n", name, terraced.all,
                    terraced.edge, smoothed.all, smoothed.edge);
    }
}

// For bench/smooth/grass_peer.py: per landscape NAME.bmp (the band map) and NAME.f64 (the
// landscape in band spacings, little-endian doubles row by row), listed in landscapes.txt.
void WritePeerMaps(const std::filesystem::path& folder, int side) {
    std::filesystem::create_directories(folder);
    std::FILE* list = std::fopen((folder / "landscapes.txt").string().c_str(), "w");
    for (const auto& [name, landscape] : kLandscapes) {
        std::string file = name;
        std::replace(file.begin(), file.end(), ' ', '-');
        const std::vector<double> z = Sampled(landscape, side, 0.5);
        const quarn::ClassifiedRaster raster = BandsOf(z, side);
        quarn::bench::WriteBandMap((folder / (file + ".bmp")).string(), side, [&](int x, int y) {
            return raster.classes[std::size_t(y) * std::size_t(side) + std::size_t(x)];
        });
        std::FILE* out = std::fopen((folder / (file + ".f64")).string().c_str(), "wb");
        std::fwrite(z.data(), sizeof(double), z.size(), out);
        std::fclose(out);
        std::fprintf(list, "%s %s\n", file.c_str(), name);
    }
    std::fclose(list);
}

// Writes the hills as a side x side band map, as Sampled scales them, without holding the
// landscape: a child's peak memory as the system reports it counts from the parent's own.
void WriteHillsMap(const std::string& path, int side) {
    const Landscape& hills = kLandscapes[0].second;
    const auto at = [&](int x, int y) { return hills((x + 0.5) / side, (y + 0.5) / side); };
    double low = at(0, 0), high = low;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double v = at(x, y);
            low = std::min(low, v);
            high = std::max(high, v);
        }
    const double end = 0.5, scale = (16 - 2 * end) / (high - low);
    quarn::bench::WriteBandMap(path, side, [&](int x, int y) {
        return static_cast<std::uint8_t>(end + (at(x, y) - low) * scale);
    });
}

// The whole `quarn3d-cli generate` run of a side x side map at CellSize cellSize, each band b
// at height 100 b + 50; status 1 after a failed one.
quarn::bench::ChildRun Generate(const std::string& cli, const std::string& map,
                                const std::string& output, int side, const char* surface,
                                int cellSize) {
    const std::string extent = std::to_string(side), interval = std::to_string(cellSize);
    std::vector<std::string> args{cli,
                                  "generate",
                                  map,
                                  output,
                                  "--water",
                                  "0",
                                  "--lawn",
                                  "400",
                                  "--snow",
                                  "1200",
                                  "--map-width",
                                  extent,
                                  "--map-height",
                                  extent,
                                  "--interval",
                                  interval,
                                  "--surface",
                                  surface};
    for (int e = 0; e < 16; ++e) {
        args.emplace_back("--height");
        args.push_back(std::to_string(e) + "=" + std::to_string(e * 100 + 50));
    }
    quarn::bench::ChildRun run = quarn::bench::RunChild(args);
    if (run.status != 0)
        std::fprintf(stderr, "quarn3d-cli failed (status %d)\n", run.status);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--peer-maps") {
        WritePeerMaps(argv[2], std::stoi(argv[3]));
        return 0;
    }
    const bool smoke = argc > 1 && std::string_view(argv[1]) == "--smoke";
    const int rest = smoke ? 2 : 1;
    if (argc > rest + 1) {
        std::fprintf(stderr,
                     "Usage: quarn_bench_smooth [--smoke] [path/to/quarn3d-cli]\n"
                     "       quarn_bench_smooth --peer-maps FOLDER SIDE\n");
        return 2;
    }
    const std::string cli = argc > rest ? argv[rest] : QUARN_CLI_PATH;
    const int side = smoke ? 128 : 1024, mapSide = smoke ? 256 : 4096;
    const int largeSide = smoke ? 512 : 16384;

    PrintAccuracy(side, 0.5, "in the middle of the outer bands");
    PrintAccuracy(side, 1e-9, "at the far ends of the outer bands (the worst case for summits)");

    const auto folder = quarn::bench::BenchFolder("quarn-bench-smooth");
    const std::string map = (folder / "map.bmp").string();
    const std::string output = (folder / "terrain.3df").string();
    WriteHillsMap(map, mapSide);
    double smoothSeconds = 0;
    for (const char* surface : {"terraced", "smooth"}) {
        const quarn::bench::ChildRun run = Generate(cli, map, output, mapSide, surface, 4);
        if (run.status != 0)
            return 1;
        smoothSeconds = run.seconds;
        std::printf("quarn3d-cli generate %dx%d at CellSize 4, %s: %.3f s, peak RSS %.1f MiB\n",
                    mapSide, mapSide, surface, run.seconds, double(run.peakKiB) / 1024.0);
    }
    WriteHillsMap(map, largeSide);
    const double pixelRatio = double(largeSide) * largeSide / (double(mapSide) * mapSide);
    for (const int cellSize : {4, 16}) {
        const quarn::bench::ChildRun run =
            Generate(cli, map, output, largeSide, "smooth", cellSize);
        if (run.status != 0)
            return 1;
        std::printf(
            "quarn3d-cli generate %dx%d at CellSize %d, smooth: %.3f s, %.1f times the %dx%d "
            "time (goal <= %.0f), peak RSS %.1f MiB (goal <= 2 GB)\n",
            largeSide, largeSide, cellSize, run.seconds, run.seconds / smoothSeconds, mapSide,
            mapSide, pixelRatio, double(run.peakKiB) / 1024.0);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
