#include "band_raster.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "parallel.h"

namespace quarn {

namespace {

// Below this many triangles the bands are drawn one after another on the calling thread.
constexpr std::size_t kTrianglesWorthThreads = 1 << 14;

// Sets pixels of one band of rows, clipped to it and to the picture's width.
class BandPen {
  public:
    BandPen(PixelBuffer& picture, std::int32_t top, std::int32_t bottom)
        : m_pixels(picture.writablePixels()),
          m_width(picture.width()),
          m_top(top),
          m_rows(std::uint32_t(bottom - top)) {}

    void plot(Point p, Colour colour) const {
        if (std::uint32_t(p.x) < std::uint32_t(m_width) && std::uint32_t(p.y - m_top) < m_rows)
            m_pixels[std::size_t(p.y) * std::size_t(m_width) + std::size_t(p.x)] = colour;
    }

  private:
    std::span<Colour> m_pixels;
    std::int32_t m_width, m_top;
    std::uint32_t m_rows;
};

// A line whose ends are at most 2 pixels apart on either axis, as PixelBuffer::drawLine draws
// it: its ends, and for a step of 2 along the major axis the middle, its minor coordinate
// n0 + floor((dn + 1) / 2). False for longer lines.
bool ShortLine(const BandPen& pen, Point a, Point b, Colour colour) {
    const std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
    const std::int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    if (ax > 2 || ay > 2)
        return false;
    pen.plot(a, colour);
    pen.plot(b, colour);
    if (ax >= ay && ax == 2) {
        const Point from = dx < 0 ? b : a;
        const std::int32_t dn = dx < 0 ? -std::int32_t(dy) : std::int32_t(dy);
        pen.plot({from.x + 1, from.y + (dn + 3) / 2 - 1}, colour);
    } else if (ay > ax && ay == 2) {
        const Point from = dy < 0 ? b : a;
        const std::int32_t dn = dy < 0 ? -std::int32_t(dx) : std::int32_t(dx);
        pen.plot({from.x + (dn + 3) / 2 - 1, from.y + 1}, colour);
    }
    return true;
}

// PixelBuffer::fillTriangle for a triangle in a box of at most kSmallBox pixels a side with
// corners well inside the 32-bit range: the same centres, edges and top-left rule, tested one
// by one. False (nothing drawn) for other triangles.
constexpr std::int32_t kSmallBox = 3, kSmallCoordinate = 1 << 28;

bool FillSmall(const BandPen& pen, Point a, Point b, Point c, std::int32_t minX, std::int32_t maxX,
               std::int32_t minY, std::int32_t maxY, std::int32_t width, std::int32_t top,
               std::int32_t bottom, Colour colour) {
    if (maxX - minX > kSmallBox || maxY - minY > kSmallBox || minX <= -kSmallCoordinate ||
        maxX >= kSmallCoordinate || minY <= -kSmallCoordinate || maxY >= kSmallCoordinate)
        return false;
    const std::int64_t area = (std::int64_t(b.x) - a.x) * (std::int64_t(c.y) - a.y) -
                              (std::int64_t(b.y) - a.y) * (std::int64_t(c.x) - a.x);
    if (area == 0)
        return true;
    if (area < 0)
        std::swap(b, c);
    struct Edge {
        Point from;
        std::int64_t dx, dy;
        bool topLeft;
    };
    const auto edge = [](Point p, Point q) {
        const std::int64_t dx = std::int64_t(q.x) - p.x, dy = std::int64_t(q.y) - p.y;
        return Edge{p, dx, dy, dy < 0 || (dy == 0 && dx > 0)};
    };
    const Edge edges[3] = {edge(b, c), edge(c, a), edge(a, b)};
    for (std::int32_t y = std::max(minY, top); y <= std::min(maxY - 1, bottom - 1); ++y) {
        for (std::int32_t x = std::max(minX, 0); x <= std::min(maxX - 1, width - 1); ++x) {
            bool inside = true;
            for (const Edge& e : edges) {
                const std::int64_t v =
                    e.dx * (2 * std::int64_t(y) + 1 - 2 * std::int64_t(e.from.y)) -
                    e.dy * (2 * std::int64_t(x) + 1 - 2 * std::int64_t(e.from.x));
                inside = inside && (e.topLeft ? v >= 0 : v > 0);
            }
            if (inside)
                pen.plot({x, y}, colour);
        }
    }
    return true;
}

void DrawBand(PixelBuffer& picture, std::span<const Point> corners,
              std::span<const Triangle> triangles, bool numbers, std::int32_t top,
              std::int32_t bottom) {
    const std::int32_t width = picture.width();
    const BandPen pen(picture, top, bottom);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const Triangle& t = triangles[i];
        const Point a = corners[std::size_t(t.a)], b = corners[std::size_t(t.b)],
                    c = corners[std::size_t(t.c)];
        const std::int32_t minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
        const std::int32_t minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
        // A triangle's pixels, filled or outlined, lie within the box of its corners.
        if (maxY < top || minY >= bottom || maxX < 0 || minX >= width)
            continue;
        const Colour colour = numbers ? Colour(i + 1) : kWhite;
        // The fill takes centres within the box, so a box one pixel thin has none.
        if (numbers && maxX != minX && maxY != minY &&
            !FillSmall(pen, a, b, c, minX, maxX, minY, maxY, width, top, bottom, colour))
            picture.fillTriangle(a, b, c, colour, top, bottom);
        for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}})
            if (!ShortLine(pen, from, to, colour))
                picture.drawLine(from, to, colour, top, bottom);
    }
}

// Cuts the picture into one band of rows per worker; threads only for many triangles, so that
// small pictures are drawn in the same bands.
void DrawInBands(PixelBuffer& picture, std::span<const Point> corners,
                 std::span<const Triangle> triangles, bool numbers) {
    const auto rows = std::size_t(std::max(picture.height(), 0));
    const std::size_t bands =
        std::clamp<std::size_t>(WorkerCount(), 1, std::max<std::size_t>(rows, 1));
    const bool threaded = triangles.size() >= kTrianglesWorthThreads;
    ParallelChunks(
        bands, threaded ? 1 : bands, [&](std::size_t, std::size_t firstBand, std::size_t endBand) {
            for (std::size_t band = firstBand; band < endBand; ++band)
                DrawBand(picture, corners, triangles, numbers, std::int32_t(rows * band / bands),
                         std::int32_t(rows * (band + 1) / bands));
        });
}

}  // namespace

void DrawWireTriangles(PixelBuffer& picture, std::span<const Point> corners,
                       std::span<const Triangle> triangles) {
    DrawInBands(picture, corners, triangles, false);
}

void DrawTriangleNumbers(PixelBuffer& numbers, std::span<const Point> corners,
                         std::span<const Triangle> triangles) {
    DrawInBands(numbers, corners, triangles, true);
}

}  // namespace quarn
