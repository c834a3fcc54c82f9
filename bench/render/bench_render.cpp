// Redraw benchmark: project, clear and draw a terrain of 1024 x 1024 vertices (the grid of a
// 4096 x 4096 map at CellSize 4, 2.1 M triangles) into a 550 x 418 picture, shaded and wire,
// against the same projection drawn with one QPainter::drawPolygon per triangle.
// Usage: quarn_bench_render [--smoke]. Each figure is the best of three runs; --smoke draws a
// 64 x 64 vertex terrain once, only to show that the benchmark still builds and runs.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string_view>

#include <QImage>
#include <QPainter>

#include "draw.h"
#include "pixel_buffer.h"
#include "projection.h"
#include "qt_colour.h"
#include "scene.h"
#include "window_mapping.h"

namespace {

constexpr int kWidth = 550, kHeight = 418;

// Vertices per side of the terrain and how often each figure is measured.
struct Size {
    int grid;
    int runs;
};
constexpr Size kFull{1024, 3};
constexpr Size kSmoke{64, 1};

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

std::int32_t CodeFor(float z) {
    if (z <= 0.05f)
        return 216;
    if (z <= 0.2f)
        return 120;
    return z < 0.45f ? 24 : 32767;
}

// Hills of concentric bands, laid out as the 3DF writer lays out its grid.
void BuildScene(int grid) {
    std::vector<quarn::Vertex> v(std::size_t(grid) * grid);
    for (int i = 0; i < grid; ++i) {
        for (int j = 0; j < grid; ++j) {
            const float x = -1.0f + 2.0f * float(j) / float(grid - 1);
            const float y = 1.0f - 2.0f * float(i) / float(grid - 1);
            const float r = std::hypot(x, y);
            v[std::size_t(i) * grid + std::size_t(j)] = {
                x, y, std::max(0.0f, 0.6f * std::cos(r * 2.2f)) * (1 + 0.1f * std::sin(9 * x))};
        }
    }
    quarn::TriangleList.clear();
    quarn::TriangleList.reserve(std::size_t(2) * (grid - 1) * (grid - 1));
    for (int i = 0; i + 1 < grid; ++i) {
        for (int j = 0; j + 1 < grid; ++j) {
            const std::size_t k = std::size_t(i) * grid + std::size_t(j);
            const auto& a = v[k];
            const auto& b = v[k + 1];
            const auto& c = v[k + grid + 1];
            const auto& d = v[k + grid];
            quarn::TriangleList.push_back({a, b, c, CodeFor((a.z + b.z + c.z) / 3)});
            quarn::TriangleList.push_back({a, c, d, CodeFor((a.z + c.z + d.z) / 3)});
        }
    }
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

}  // namespace

int main(int argc, char** argv) {
    const bool smoke = argc == 2 && std::string_view(argv[1]) == "--smoke";
    if (argc > 1 && !smoke) {
        std::fprintf(stderr, "Usage: quarn_bench_render [--smoke]\n");
        return 2;
    }
    const Size size = smoke ? kSmoke : kFull;
    BuildScene(size.grid);
    std::printf("scene: %zu triangles, picture %dx%d\n", quarn::TriangleList.size(), kWidth,
                kHeight);
    quarn::PixelBuffer picture(kWidth, kHeight);
    quarn::PixelCanvas canvas(picture);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const double projectOnly =
        Milliseconds(size.runs, [] { quarn::Project_Scene(kWidth, kHeight); });
    quarn::ProjectedList.reset();
    std::printf("projection alone: %.1f ms\n", projectOnly);
    for (const bool shaded : {true, false}) {
        quarn::ShadedMode = shaded;
        const double ours =
            Milliseconds(size.runs, [&] { quarn::RenderScene(canvas, kWidth, kHeight); });
        const double toolkit = Milliseconds(size.runs, [&] { QPainterRedraw(image); });
        std::printf(
            "%s redraw: %.1f ms; QPainter::drawPolygon loop: %.1f ms; %.2fx faster "
            "(goal >= 3x)\n",
            shaded ? "shaded" : "wire  ", ours, toolkit, toolkit / ours);
    }
    return 0;
}
