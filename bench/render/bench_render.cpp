// Redraw benchmark: project, clear and draw a terrain of 1024 x 1024 vertices (the grid of a
// 4096 x 4096 map at CellSize 4, 2.1 M triangles) into a 550 x 418 picture, shaded and wire,
// against the same projection drawn with one QPainter::drawPolygon per triangle.
// Usage: quarn_bench_render. Each figure is the best of three runs.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

#include <QImage>
#include <QPainter>

#include "draw.h"
#include "pixel_buffer.h"
#include "projection.h"
#include "scene.h"
#include "window_mapping.h"

namespace {

constexpr int kGrid = 1024;
constexpr int kWidth = 550, kHeight = 418;
constexpr int kRuns = 3;

using Clock = std::chrono::steady_clock;

double Milliseconds(const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
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
void BuildScene() {
    std::vector<quarn::Vertex> v(std::size_t(kGrid) * kGrid);
    for (int i = 0; i < kGrid; ++i) {
        for (int j = 0; j < kGrid; ++j) {
            const float x = -1.0f + 2.0f * float(j) / (kGrid - 1);
            const float y = 1.0f - 2.0f * float(i) / (kGrid - 1);
            const float r = std::hypot(x, y);
            v[std::size_t(i) * kGrid + std::size_t(j)] = {
                x, y, std::max(0.0f, 0.6f * std::cos(r * 2.2f)) * (1 + 0.1f * std::sin(9 * x))};
        }
    }
    quarn::TriangleList.clear();
    quarn::TriangleList.reserve(std::size_t(2) * (kGrid - 1) * (kGrid - 1));
    for (int i = 0; i + 1 < kGrid; ++i) {
        for (int j = 0; j + 1 < kGrid; ++j) {
            const std::size_t k = std::size_t(i) * kGrid + std::size_t(j);
            const auto& a = v[k];
            const auto& b = v[k + 1];
            const auto& c = v[k + kGrid + 1];
            const auto& d = v[k + kGrid];
            quarn::TriangleList.push_back({a, b, c, CodeFor((a.z + b.z + c.z) / 3)});
            quarn::TriangleList.push_back({a, c, d, CodeFor((a.z + c.z + d.z) / 3)});
        }
    }
}

QColor ToQColor(quarn::Colour c) {
    return QColor(int(c & 255), int((c >> 8) & 255), int((c >> 16) & 255));
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
    for (const auto& t : projected.triangles) {
        QPoint points[3];
        const quarn::Vec3* corners[3] = {&t.corner1, &t.corner2, &t.corner3};
        for (int n = 0; n < 3; ++n) {
            std::int32_t x = 0, y = 0;
            quarn::WorldToDevice(projected.mapping, quarn::ZoomFactor * corners[n]->x,
                                 quarn::ZoomFactor * corners[n]->z, x, y);
            points[n] = QPoint(x, y);
        }
        if (quarn::ShadedMode) {
            const QColor colour = ToQColor(
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

int main() {
    BuildScene();
    std::printf("scene: %zu triangles, picture %dx%d\n", quarn::TriangleList.size(), kWidth,
                kHeight);
    quarn::PixelBuffer picture(kWidth, kHeight);
    quarn::PixelCanvas canvas(picture);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const double projectOnly = Milliseconds([] { quarn::Project_Scene(kWidth, kHeight); });
    quarn::ProjectedList.reset();
    std::printf("projection alone: %.1f ms\n", projectOnly);
    for (const bool shaded : {true, false}) {
        quarn::ShadedMode = shaded;
        const double ours = Milliseconds([&] { quarn::RenderScene(canvas, kWidth, kHeight); });
        const double toolkit = Milliseconds([&] { QPainterRedraw(image); });
        std::printf(
            "%s redraw: %.1f ms; QPainter::drawPolygon loop: %.1f ms; %.2fx faster "
            "(goal >= 3x)\n",
            shaded ? "shaded" : "wire  ", ours, toolkit, toolkit / ours);
    }
    return 0;
}
