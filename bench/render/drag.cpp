#include "drag.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "band_map.h"
#include "child_run.h"
#include "pixel_buffer.h"
#include "preview_scene.h"
#include "quarn_render_f.h"
#include "viewer_state.h"

namespace quarn::bench {

namespace {

constexpr int kWidth = 550, kHeight = 418;
constexpr int kFrames = 120;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

struct NoDisplay : AngleDisplay {
    void showAngles(int, int) override {}
};

// Concentric bands of all 16 colours, as the other rendering figures use.
std::uint8_t Band(int x, int y, int side) {
    const double d = std::hypot(x - side / 2.0, y - side / 2.0);
    return static_cast<std::uint8_t>(static_cast<unsigned>(d / (side * 3.0 / 128)) % 16u);
}

bool MeasureTerrain(const std::string& cli, const std::filesystem::path& folder, int side) {
    const std::string map = (folder / "drag.bmp").string();
    const std::string scene = (folder / "drag.3df").string();
    WriteBandMap(map, side, [&](int x, int y) { return Band(x, y, side); });
    const bool generated = RunChild(GenerateArguments(cli, map, scene, side)).status == 0;
    std::filesystem::remove(map);
    if (!generated)
        return false;
    NoDisplay display;
    ClearScene();
    LoadScene(SceneFile::Open(scene), display);
    std::filesystem::remove(scene);

    PixelBuffer picture(kWidth, kHeight);
    PixelCanvas canvas(picture);
    auto start = Clock::now();
    const Scene preview = PreviewScene(TriangleList);
    const double reducing = Seconds(start);
    // The drag: a degree of azimuth a picture, and a degree of elevation every other one.
    start = Clock::now();
    for (int frame = 0; frame < kFrames; ++frame) {
        ObserverAzimuth = static_cast<std::uint16_t>((kDefaultObserverAzimuth + frame) % 360);
        ObserverElevation = static_cast<std::uint16_t>(kDefaultObserverElevation + frame / 2);
        RenderPreview(preview, canvas, kWidth, kHeight);
    }
    const double dragging = Seconds(start);
    start = Clock::now();
    RenderScene(canvas, kWidth, kHeight);
    const double exact = Seconds(start);
    const double settle = std::chrono::duration<double>(TfrmRender::kSettle).count();
    std::printf(
        "%5d x %-5d map, %9zu triangles: reduced once to %zu in %.2f s; dragging %.1f pictures "
        "a second (%.1f ms each); exact picture %.0f ms after the mouse rests (%.0f ms waiting, "
        "%.0f ms drawing)\n",
        side, side, TriangleList.size(), preview.size(), reducing, kFrames / dragging,
        1000 * dragging / kFrames, 1000 * (settle + exact), 1000 * settle, 1000 * exact);
    ClearScene();
    ResetViewAngles();
    return true;
}

}  // namespace

bool DragBenchmark(const std::string& cli, const std::filesystem::path& folder, bool smoke) {
    std::printf("Drag: %d pictures of %d x %d, shaded, stepping the angles a degree a picture\n",
                kFrames, kWidth, kHeight);
    const std::array<int, 2> sides = smoke ? std::array{256, 512} : std::array{4096, 16384};
    for (const int side : sides)
        if (!MeasureTerrain(cli, folder, side))
            return false;
    return true;
}

}  // namespace quarn::bench
