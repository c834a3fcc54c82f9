// Rendering benchmark: the terrain of a 4096 x 4096 16-colour map at CellSize 4 (the grid of
// 1024 x 1024 vertices, 2.1 M triangles, a 46 MB 3DF), written by `quarn3d-cli generate` as 3DF
// and as STL, then
//   - loaded in-process, against reading the file's bytes in large blocks;
//   - redrawn into 550 x 418 (project, clear, draw), shaded and wire, plain and with hidden
//     surfaces, the plain redraws against a QPainter::drawPolygon per triangle; each redrawn
//     into 110 x 84 as well and checked against the drawing the tests work out pixel by
//     pixel from the rules (oracle_renderer);
//   - rendered end to end by `quarn3d-cli render`, with its peak memory, against f3d reading
//     the STL under xvfb-run when both are installed;
//   - and the same for the terrain of a 16384 x 16384 map (33.5 M triangles): opening and
//     drawing, redrawing (from a turntable of five pictures), peak memory.
// Usage: quarn_bench_render [--drag] [--smoke] [path/to/quarn3d-cli]. Each figure is the best of
// several runs; --smoke works on a 256 x 256 map, once each and without f3d, only to show that
// the benchmark still runs. --drag measures the viewer's drag instead (drag.h).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QImage>
#include <QPainter>

#include "band_map.h"
#include "bench_folder.h"
#include "child_run.h"
#include "drag.h"
#include "draw.h"
#include "oracle_renderer.h"
#include "pixel_buffer.h"
#include "projection.h"
#include "qt_colour.h"
#include "scene.h"
#include "viewer_state.h"
#include "window_mapping.h"

namespace {

constexpr int kWidth = 550, kHeight = 418;

// Pixels per side of the map and how often each figure is measured.
struct Size {
    int side;
    int runs;
};
constexpr Size kFull{4096, 5};
constexpr Size kSmoke{256, 1};

using Clock = std::chrono::steady_clock;

double Milliseconds(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

// The generation benchmark's map: concentric bands of all 16 colours.
std::uint8_t Band(int x, int y, int side) {
    const double bandWidth = side * 3.0 / 128;
    const double d = std::hypot(x - side / 2.0, y - side / 2.0);
    return static_cast<std::uint8_t>(static_cast<unsigned>(d / bandWidth) % 16u);
}

bool Generate(const std::string& cli, const std::string& map, const std::string& output, int side) {
    return quarn::bench::RunChild(quarn::bench::GenerateArguments(cli, map, output, side)).status ==
           0;
}

// The best of runs child runs: the shortest time and, beside it, the largest peak memory.
quarn::bench::ChildRun BestChild(int runs, const std::vector<std::string>& args) {
    quarn::bench::ChildRun best;
    best.seconds = 1e300;
    for (int run = 0; run < runs; ++run) {
        const quarn::bench::ChildRun r = quarn::bench::RunChild(args);
        if (r.status != 0)
            return r;
        best.status = 0;
        best.seconds = std::min(best.seconds, r.seconds);
        best.peakKiB = std::max(best.peakKiB, r.peakKiB);
    }
    return best;
}

// Reads the file through a 1 MB buffer, used over and over.
void ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> block(std::size_t{1} << 20);
    while (in.read(block.data(), std::streamsize(block.size())) || in.gcount() > 0) {
    }
}

// Reads the whole file into fresh memory of its size, as any loading must.
void ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const auto size = std::filesystem::file_size(path);
    const auto bytes = std::make_unique_for_overwrite<char[]>(size);
    in.read(bytes.get(), std::streamsize(size));
}

// The same redraw with the toolkit's polygon, one call per triangle.
void QPainterRedraw(QImage& image) {
    quarn::Project_Scene(kWidth, kHeight);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawRect(0, 0, kWidth - 2, kHeight - 2);
    if (quarn::ShadedMode) {
        painter.setBrush(Qt::SolidPattern);
    } else {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Qt::white);
    }
    const quarn::ProjectedScene& projected = *quarn::ProjectedList;
    for (std::size_t i = 0; i < projected.size(); ++i) {
        const quarn::ProjectedTriangle t = projected.triangle(i);
        QPoint points[3];
        const quarn::Vec3* corners[3] = {&t.corner1, &t.corner2, &t.corner3};
        for (int n = 0; n < 3; ++n) {
            std::int32_t x = 0, y = 0;
            quarn::WorldToDevice(projected.mapping, quarn::ZoomFactor * corners[n]->x,
                                 quarn::ZoomFactor * corners[n]->z, x, y);
            points[n] = QPoint(x, y);
        }
        if (quarn::ShadedMode) {
            const QColor colour = quarn::RgbOf(
                quarn::ComputeShadedColour(t.corner1, t.corner2, t.corner3, quarn::RotatedSun,
                                           float(t.colour), 0.2f, 0.4f, 0.4f, 0.5f));
            painter.setPen(colour);
            painter.setBrush(colour);
        }
        painter.drawPolygon(points, 3);
    }
    quarn::ProjectedList.reset();
}

class NoDisplay : public quarn::AngleDisplay {
  public:
    void showAngles(int, int) override {}
};

// Whether the redraw into a small picture is the one the rules draw, pixel for pixel.
bool AsTheRulesDraw(const quarn::ViewOptions& options = {}) {
    constexpr int kSmallWidth = 110, kSmallHeight = 84;
    quarn::PixelBuffer picture(kSmallWidth, kSmallHeight);
    quarn::PixelCanvas canvas(picture);
    quarn::RenderScene(canvas, kSmallWidth, kSmallHeight, options);
    const quarn::testing::OracleOutcome rules =
        quarn::testing::OracleRender(quarn::TriangleList, quarn::CurrentViewAngles(), {},
                                     {quarn::ZoomFactor, quarn::ShadedMode, options.hiddenSurfaces},
                                     quarn::PixelBuffer(kSmallWidth, kSmallHeight), {});
    return quarn::testing::Compare(rules, picture).pixels == 0;
}

void Redraws(const Size& size) {
    quarn::PixelBuffer picture(kWidth, kHeight);
    quarn::PixelCanvas canvas(picture);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (const bool shaded : {true, false}) {
        quarn::ShadedMode = shaded;
        // Many runs: on a shared machine the quiet moments are short.
        const double ours =
            Milliseconds(size.runs * 3, [&] { quarn::RenderScene(canvas, kWidth, kHeight); });
        const double toolkit = Milliseconds(std::min(size.runs, 2), [&] { QPainterRedraw(image); });
        std::printf(
            "%s redraw: %.1f ms (goal <= %d ms); QPainter::drawPolygon loop %.1f ms (%.1fx); "
            "the picture the rules draw at 110 x 84: %s\n",
            shaded ? "shaded" : "wire  ", ours, shaded ? 60 : 30, toolkit, toolkit / ours,
            AsTheRulesDraw() ? "yes" : "NO");
        const quarn::ViewOptions hiddenSurfaces{.hiddenSurfaces = true};
        const double hidden = Milliseconds(
            size.runs * 3, [&] { quarn::RenderScene(canvas, kWidth, kHeight, hiddenSurfaces); });
        std::printf(
            "%s redraw with hidden surfaces: %.1f ms, %.2fx the plain redraw (goal <= "
            "1.5x); the picture the rules draw at 110 x 84: %s\n",
            shaded ? "shaded" : "wire  ", hidden, hidden / ours,
            AsTheRulesDraw(hiddenSurfaces) ? "yes" : "NO");
    }
    quarn::ShadedMode = true;
}

// The terrain of a 16384 x 16384 map at CellSize 4 (33.5 M triangles, a 737 MB 3DF): opened
// and drawn once, then with four more turns of a turntable for the redraw; the files go again.
void LargeScene(const std::string& cli, const std::filesystem::path& folder) {
    constexpr int kSide = 16384;
    const std::string map = (folder / "large.bmp").string();
    const std::string scene = (folder / "large.3df").string();
    const std::string picture = (folder / "large.bmp.out.bmp").string();
    quarn::bench::WriteBandMap(map, kSide, [&](int x, int y) { return Band(x, y, kSide); });
    if (!Generate(cli, map, scene, kSide)) {
        std::printf("16384 x 16384 map: generation failed\n");
        return;
    }
    const double fileMiB = double(std::filesystem::file_size(scene)) / (1 << 20);
    const quarn::bench::ChildRun once = BestChild(2, {cli, "render", scene, picture});
    const quarn::bench::ChildRun turns =
        BestChild(2, {cli, "render", scene, picture, "--frames", "5"});
    std::printf(
        "16384 x 16384 map, %.0f MiB 3DF: quarn3d-cli render opens and draws it in %.2f s (goal "
        "<= 5 s), redraws in %.2f s (goal <= 1 s), peak memory %.0f MiB (goal <= 1536 MiB)\n",
        fileMiB, once.seconds, (turns.seconds - once.seconds) / 4,
        double(std::max(once.peakKiB, turns.peakKiB)) / 1024);
    std::filesystem::remove(map);
    std::filesystem::remove(scene);
    for (int frame = 0; frame < 5; ++frame)
        std::filesystem::remove(folder / ("large.bmp.out-00" + std::to_string(frame) + ".bmp"));
    std::filesystem::remove(picture);
}

}  // namespace

int main(int argc, char** argv) {
    const bool drag = argc > 1 && std::string_view(argv[1]) == "--drag";
    const int next = drag ? 2 : 1;
    const bool smoke = argc > next && std::string_view(argv[next]) == "--smoke";
    const int rest = next + (smoke ? 1 : 0);
    if (argc > rest + 1) {
        std::fprintf(stderr,
                     "Usage: quarn_bench_render [--drag] [--smoke] [path/to/quarn3d-cli]\n");
        return 2;
    }
    const Size size = smoke ? kSmoke : kFull;
    const std::string cli = argc > rest ? argv[rest] : QUARN_CLI_PATH;
    const auto folder = quarn::bench::BenchFolder("quarn-bench-render");
    if (drag) {
        const bool measured = quarn::bench::DragBenchmark(cli, folder, smoke);
        std::filesystem::remove_all(folder);
        return measured ? 0 : 1;
    }
    const std::string map = (folder / "map.bmp").string();
    const std::string scene = (folder / "terrain.3df").string();
    const std::string stl = (folder / "terrain.stl").string();
    quarn::bench::WriteBandMap(map, size.side, [&](int x, int y) { return Band(x, y, size.side); });
    if (!Generate(cli, map, scene, size.side) || (!smoke && !Generate(cli, map, stl, size.side))) {
        std::fprintf(stderr, "quarn3d-cli generate failed\n");
        return 1;
    }
    const double fileMiB = double(std::filesystem::file_size(scene)) / (1 << 20);

    // First the child runs, while this process is small: a child's peak memory counts what it
    // shared with this process before it started the program.
    const std::string picture = (folder / "picture.bmp").string();
    const quarn::bench::ChildRun render = BestChild(size.runs, {cli, "render", scene, picture});
    if (render.status != 0) {
        std::fprintf(stderr, "quarn3d-cli render failed\n");
        return 1;
    }
    const char* const f3d = "/usr/bin/f3d";
    const char* const xvfb = "/usr/bin/xvfb-run";
    const bool withPeer = !smoke && std::filesystem::exists(f3d) && std::filesystem::exists(xvfb);
    quarn::bench::ChildRun peer;
    if (withPeer)
        peer = BestChild(2, {xvfb, "-a", f3d, stl, "--output", (folder / "f3d.png").string(),
                             "--resolution", "550,418"});

    NoDisplay display;
    const double load = Milliseconds(size.runs, [&] {
        quarn::ClearScene();
        quarn::LoadScene(quarn::SceneFile::Open(scene), display);
    });
    const double raw = Milliseconds(size.runs, [&] { ReadBytes(scene); });
    const double whole = Milliseconds(size.runs, [&] { ReadWhole(scene); });
    std::printf("scene: %zu triangles, %.1f MiB; picture %dx%d\n", quarn::TriangleList.size(),
                fileMiB, kWidth, kHeight);
    std::printf(
        "load: %.1f ms; reading its bytes into fresh memory %.1f ms (%.1fx, goal <= 3x), through "
        "a 1 MB buffer %.1f ms (%.1fx)\n",
        load, whole, load / whole, raw, load / raw);

    Redraws(size);

    std::printf(
        "quarn3d-cli render, end to end: %.0f ms, peak memory %.0f MiB (goal <= 1.5 x file + 64 "
        "= %.0f MiB)\n",
        render.seconds * 1000, double(render.peakKiB) / 1024, 1.5 * fileMiB + 64);
    if (!smoke)
        LargeScene(cli, folder);
    if (!withPeer)
        std::printf("f3d: not compared\n");
    else
        std::printf(
            "f3d on the same mesh as STL under xvfb-run: %.0f ms%s; quarn3d-cli %.1fx faster "
            "(goal >= 5x)\n",
            peer.seconds * 1000, peer.status == 0 ? "" : " (failed)",
            peer.seconds / render.seconds);
    std::filesystem::remove_all(folder);
    return 0;
}
