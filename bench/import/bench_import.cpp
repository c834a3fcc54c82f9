// Import benchmark: how well `quarn3d-cli import` restores the bands of degraded map images,
// how close a terrain generated from a degraded JPEG comes to one from the clean map, how it
// compares with reducing the image to the legend colours in ImageMagick or GDAL, and how fast
// it imports a large JPEG.
//
// The maps are hills fields of 10 bands of hypsometric tints (test_map.h), drawn anti-aliased,
// hill-shaded, with contour lines, lettering and a grid, and saved as JPEG of quality 75. Per
// map it prints the share of the pixels more than 2 px from a true band boundary that get their
// true band, importing with the legend and with --bands 10 (each band found matched afterwards
// to the true band most of its pixels have); for the first map after each degradation in turn. Then
// the RMSE of `generate --surface smooth` from the JPEG and from the clean 16-colour map against
// the landscape; the wrong pixels of ImageMagick's -remap and GDAL's rgb2pct to the legend colours
// against ours; and the time and peak memory of importing an 8000 x 8000 JPEG, against -remap.
// Usage: quarn_bench_import [--smoke] [path/to/quarn3d-cli]; --smoke imports one small map,
// without the peers and the large map, only to show that the benchmark still works.
// quarn_bench_import --write-map PATH WIDTH HEIGHT SEED writes one degraded JPEG.

#include <sys/resource.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bench_folder.h"
#include "child_run.h"
#include "measures.h"
#include "peers.h"
#include "test_map.h"

namespace {

using quarn::bench::BandScore;
using quarn::bench::Landscape;

struct Setting {
    std::string cli, folder;
    int width = 0, height = 0;
};

std::string In(const Setting& s, const std::string& name) {
    return s.folder + "/" + name;
}

std::vector<quarn::Colour> LegendColours() {
    return {quarn::bench::Tints().begin(), quarn::bench::Tints().end()};
}

// Runs a child that writes output; false, with a line on stderr, when it fails.
bool Ran(const std::vector<std::string>& args, const std::string& stdoutPath = "/dev/null") {
    const quarn::bench::ChildRun run = quarn::bench::RunChild(args, stdoutPath);
    if (run.status != 0)
        std::fprintf(stderr, "%s %s failed (status %d)\n", args[0].c_str(),
                     args.size() > 1 ? args[1].c_str() : "", run.status);
    return run.status == 0;
}

// The palette of the 16-colour BMP at path.
std::vector<quarn::Colour> PaletteOf(const std::string& path) {
    std::vector<quarn::Colour> palette;
    for (const QRgb entry : QImage(QString::fromStdString(path)).colorTable())
        palette.push_back(quarn::PackRGB(qRed(entry), qGreen(entry), qBlue(entry)));
    return palette;
}

// The bands of image as `quarn3d-cli import` cleans it with options, scored against truth:
// with a legend, each pixel's colour is its band's; found bands are each matched to the true
// band most of their pixels have.
std::optional<BandScore> Imported(const Setting& s, const std::string& image,
                                  const std::vector<std::string>& options,
                                  const std::vector<std::uint8_t>& truth, bool legend = true) {
    const std::string output = In(s, "imported.bmp");
    std::vector<std::string> args{s.cli, "import", image, output};
    args.insert(args.end(), options.begin(), options.end());
    if (!Ran(args))
        return std::nullopt;
    const std::vector<quarn::Colour> palette = legend ? LegendColours() : PaletteOf(output);
    auto found = quarn::bench::ReadBands(output, palette, s.width, s.height);
    if (!found)
        return std::nullopt;
    if (!legend)
        found = quarn::bench::MatchedToTruth(truth, palette, std::move(*found));
    return quarn::bench::ScoreBands(truth, *found, s.width, s.height);
}

std::vector<std::string> WithLegend(const Setting& s) {
    return {"--legend", In(s, "legend.txt")};
}
std::vector<std::string> WithBandCount() {
    return {"--bands", std::to_string(quarn::bench::kBands)};
}

bool PrintBands(const Setting& s, const std::vector<unsigned>& seeds) {
    using namespace quarn::bench;
    std::printf(
        "Bands: pixels more than 2 px from a true band boundary that get their true band\n"
        "  %-8s %-38s %10s %12s\n",
        "map", "degradations", "legend", "--bands 10");
    const std::pair<unsigned, const char*> stages[] = {
        {kAntialiased, "anti-aliased"},
        {kAntialiased | kHillShading, " + hill shading 25 %"},
        {kAntialiased | kHillShading | kContourLines, " + contour lines"},
        {kAntialiased | kHillShading | kContourLines | kLettering, " + lettering and grid"},
        {kAllDegradations, " + JPEG 75 (all)"}};
    for (const unsigned seed : seeds) {
        const Landscape land(seed, s.width, s.height);
        const std::vector<std::uint8_t> truth = land.bands();
        for (const auto& [degradations, name] : stages) {
            if (seed != seeds.front() && degradations != kAllDegradations)
                continue;
            const std::string image = In(s, degradations & kJpeg ? "map.jpg" : "map.png");
            if (!SaveMap(land, degradations, image))
                return false;
            const auto legend = Imported(s, image, WithLegend(s), truth);
            const auto counted = Imported(s, image, WithBandCount(), truth, false);
            if (!legend || !counted)
                return false;
            std::printf("  hills %-2u %-38s %8.3f %% %10.3f %%\n", seed, name,
                        legend->percentRight(), counted->percentRight());
        }
    }
    std::printf("  goals: legend >= 99.5 %%, --bands >= 99 %%\n");
    return true;
}

// The RMSE in band spacings of `generate --surface smooth` from image, with options giving the
// heights, against land.
std::optional<double> TerrainRmse(const Setting& s, const std::string& image,
                                  const std::vector<std::string>& heights,
                                  const std::vector<float>& truth) {
    const std::string output = In(s, "terrain.r16"), said = In(s, "generate.txt");
    std::vector<std::string> args{s.cli,          "generate",
                                  image,          output,
                                  "--water",      "0",
                                  "--lawn",       "300",
                                  "--snow",       "800",
                                  "--map-width",  std::to_string(s.width),
                                  "--map-height", std::to_string(s.height),
                                  "--interval",   "1",
                                  "--surface",    "smooth"};
    args.insert(args.end(), heights.begin(), heights.end());
    if (!Ran(args, said))
        return std::nullopt;
    const auto range = quarn::bench::ReadHeightRange(said);
    if (!range)
        return std::nullopt;
    return quarn::bench::HeightmapRmse(output, *range, quarn::bench::kUnitsPerBand, truth);
}

bool PrintTerrain(const Setting& s, const std::vector<unsigned>& seeds) {
    using namespace quarn::bench;
    std::printf(
        "Terrain: --surface smooth at one vertex a pixel, RMSE against the landscape in band "
        "spacings\n");
    std::vector<std::string> bandHeights;
    for (int b = 0; b < kBands; ++b) {
        bandHeights.emplace_back("--height");
        bandHeights.push_back(std::to_string(b) + "=" + std::to_string(BandElevation(b)));
    }
    for (const unsigned seed : seeds) {
        const Landscape land(seed, s.width, s.height);
        const std::vector<float> truth = land.heights();
        SaveCleanMap(land, In(s, "clean.bmp"));
        if (!SaveMap(land, kAllDegradations, In(s, "map.jpg")))
            return false;
        const auto clean = TerrainRmse(s, In(s, "clean.bmp"), bandHeights, truth);
        const auto jpeg = TerrainRmse(s, In(s, "map.jpg"), WithLegend(s), truth);
        if (!clean || !jpeg)
            return false;
        std::printf("  hills %-2u clean 16-colour map %.4f, degraded JPEG %.4f (%+.1f %%)\n", seed,
                    *clean, *jpeg, 100 * (*jpeg / *clean - 1));
    }
    std::printf("  goal: the JPEG's RMSE within 10 %% of the clean map's\n");
    return true;
}

bool PrintPeers(const Setting& s, const std::vector<unsigned>& seeds) {
    using namespace quarn::bench;
    std::printf(
        "Peers on the degraded JPEGs: wrong pixels more than 2 px from a band boundary, "
        "reduced to the legend colours\n");
    WritePeerPalettes(s.folder);
    LiftImageMagickLimits(s.folder);
    std::vector<Peer> peers = FindPeers();
    for (const Peer& peer : peers)
        if (peer.tool.empty())
            std::printf("  %s: not installed, not compared\n", peer.name.c_str());
    std::size_t ours = 0, counted = 0;
    std::vector<std::size_t> theirs(peers.size());
    for (const unsigned seed : seeds) {
        const Landscape land(seed, s.width, s.height);
        const std::vector<std::uint8_t> truth = land.bands();
        const std::string image = In(s, "map.jpg");
        if (!SaveMap(land, kAllDegradations, image))
            return false;
        const auto score = Imported(s, image, WithLegend(s), truth);
        if (!score)
            return false;
        ours += score->wrong;
        counted = score->counted;
        std::printf("  hills %-2u quarn3d-cli import %zu", seed, score->wrong);
        for (std::size_t p = 0; p < peers.size(); ++p) {
            if (peers[p].tool.empty())
                continue;
            const std::string output = In(s, "peer" + peers[p].extension);
            if (!Ran(peers[p].command(peers[p].tool, s.folder, image, output)))
                return false;
            const auto found = ReadBands(output, LegendColours(), s.width, s.height);
            if (!found)
                return false;
            const BandScore peerScore = ScoreBands(truth, *found, s.width, s.height);
            theirs[p] += peerScore.wrong;
            std::printf(", %s %zu", peers[p].name.c_str(), peerScore.wrong);
        }
        std::printf(" (of %zu)\n", counted);
    }
    std::optional<std::size_t> better;
    for (std::size_t p = 0; p < peers.size(); ++p)
        if (!peers[p].tool.empty())
            better = std::min(better.value_or(theirs[p]), theirs[p]);
    if (!better)
        std::printf("  no peer installed: not compared\n");
    else if (ours == 0)
        std::printf("  ours 0 wrong, the better peer %zu (goal: >= 100 times fewer)\n", *better);
    else
        std::printf("  the better peer has %.1f times our wrong pixels (goal >= 100)\n",
                    double(*better) / double(ours));
    return true;
}

void PrintRun(const char* what, const quarn::bench::ChildRun& run) {
    std::printf("  %s: %.2f s, peak RSS %.1f MiB", what, run.seconds, double(run.peakKiB) / 1024.0);
    if (run.status != 0)
        std::printf(" (failed, status %d)", run.status);
    std::printf("\n");
}

// The large map is written by a child of this program, so that its picture never counts in
// the peak memory the imports report (a child's count starts from its parent's peak).
bool PrintLargeImport(const Setting& s, const std::string& self) {
    const int side = 8000;
    const std::string image = In(s, "large.jpg");
    if (!Ran({self, "--write-map", image, std::to_string(side), std::to_string(side), "1"}))
        return false;
    std::printf("Speed and memory: importing a %dx%d JPEG (all degradations)\n", side, side);
    std::vector<std::string> args{s.cli, "import", image, In(s, "large.bmp")};
    const auto legend = WithLegend(s);
    args.insert(args.end(), legend.begin(), legend.end());
    const quarn::bench::ChildRun ours = quarn::bench::RunChild(args);
    PrintRun("quarn3d-cli import --legend", ours);
    const quarn::bench::Peer remap = quarn::bench::FindPeers().front();
    if (remap.tool.empty()) {
        std::printf("  %s: not installed, not compared\n", remap.name.c_str());
    } else {
        const quarn::bench::ChildRun theirs =
            quarn::bench::RunChild(remap.command(remap.tool, s.folder, image, In(s, "large.png")));
        PrintRun(remap.name.c_str(), theirs);
        if (ours.status == 0 && theirs.status == 0)
            std::printf("  ours takes %.2f times its time (goal <= 1)\n",
                        ours.seconds / theirs.seconds);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("  goal: peak RSS <= 1.5 GB (this benchmark's own peak, %.1f MiB, is the floor)\n",
                double(usage.ru_maxrss) / 1024.0);
    return ours.status == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 6 && std::string_view(argv[1]) == "--write-map") {
        const Landscape land(unsigned(std::stoi(argv[5])), std::stoi(argv[3]), std::stoi(argv[4]));
        return quarn::bench::SaveMap(land, quarn::bench::kAllDegradations, argv[2]) ? 0 : 1;
    }
    const bool smoke = argc > 1 && std::string_view(argv[1]) == "--smoke";
    const int rest = smoke ? 2 : 1;
    if (argc > rest + 1) {
        std::fprintf(stderr, "Usage: quarn_bench_import [--smoke] [path/to/quarn3d-cli]\n");
        return 2;
    }
    const auto folder = quarn::bench::BenchFolder("quarn-bench-import");
    Setting s{argc > rest ? argv[rest] : QUARN_CLI_PATH, folder.string(), smoke ? 300 : 1600,
              smoke ? 200 : 1200};
    quarn::bench::WriteLegend(In(s, "legend.txt"));
    const std::vector<unsigned> seeds = smoke ? std::vector<unsigned>{1} : std::vector{1u, 2u, 3u};
    std::printf("Import benchmark: maps of %d bands, %dx%d pixels\n", quarn::bench::kBands, s.width,
                s.height);
    bool ok = PrintBands(s, seeds) && PrintTerrain(s, seeds);
    if (ok && !smoke)
        ok = PrintPeers(s, seeds) &&
             PrintLargeImport(s, std::filesystem::canonical("/proc/self/exe").string());
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
