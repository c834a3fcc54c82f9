#include "band_raster.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "parallel.h"

namespace quarn {

namespace {

// Below this many triangles the shares or bands are drawn one after another on the calling
// thread.
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
        // Unsigned differences wrap instead of overflowing for rows far outside the picture.
        if (std::uint32_t(p.x) < std::uint32_t(m_width) &&
            std::uint32_t(p.y) - std::uint32_t(m_top) < m_rows)
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
        pen.plot({from.x + 1, from.y + ((dn + 3) / 2 - 1)}, colour);
    } else if (ay > ax && ay == 2) {
        const Point from = dy < 0 ? b : a;
        const std::int32_t dn = dy < 0 ? -std::int32_t(dx) : std::int32_t(dx);
        pen.plot({from.x + ((dn + 3) / 2 - 1), from.y + 1}, colour);
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

// Draws triangle i of triangles with the value firstNumber + i, filled or only outlined, in
// rows top..bottom-1.
void DrawRange(PixelBuffer& picture, std::span<const Point> corners,
               std::span<const Triangle> triangles, std::size_t firstNumber, bool filled,
               std::int32_t top, std::int32_t bottom) {
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
        const auto number = Colour(firstNumber + i);
        // The fill takes centres within the box, so a box one pixel thin has none.
        if (filled && maxX != minX && maxY != minY &&
            !FillSmall(pen, a, b, c, minX, maxX, minY, maxY, width, top, bottom, number))
            picture.fillTriangle(a, b, c, number, top, bottom);
        for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}})
            if (!ShortLine(pen, from, to, number))
                picture.drawLine(from, to, number, top, bottom);
    }
}

// Up to this size each worker draws its share of the triangles into a picture of its own;
// larger pictures are cut into bands of rows instead.
constexpr std::int64_t kPrivatePictureLimit = std::int64_t{1} << 20;

}  // namespace

void DrawTriangleNumbers(PixelBuffer& numbers, std::span<const Point> corners,
                         std::span<const Triangle> triangles, bool filled) {
    const std::int32_t width = numbers.width(), height = numbers.height();
    const std::size_t workers = WorkerCount();
    // The same cuts however many triangles; threads only when they are worth it.
    const std::size_t perThread = triangles.size() >= kTrianglesWorthThreads ? 1 : workers;
    if (std::int64_t(width) * height > kPrivatePictureLimit) {
        const auto rows = std::size_t(std::max(height, 0));
        ParallelChunks(workers, perThread, [&](std::size_t, std::size_t first, std::size_t end) {
            for (std::size_t band = first; band < end; ++band)
                DrawRange(numbers, corners, triangles, 1, filled,
                          std::int32_t(rows * band / workers),
                          std::int32_t(rows * (band + 1) / workers));
        });
        return;
    }
    // Share k holds later triangles, so larger numbers, than share k - 1: where both drew, the
    // later share's number is the one that drawing all in order leaves.
    std::vector<PixelBuffer> shares;
    for (std::size_t k = 1; k < workers; ++k)
        shares.emplace_back(width, height, 0);
    ParallelChunks(workers, perThread, [&](std::size_t, std::size_t first, std::size_t end) {
        for (std::size_t k = first; k < end; ++k) {
            const std::size_t begin = triangles.size() * k / workers,
                              stop = triangles.size() * (k + 1) / workers;
            DrawRange(k == 0 ? numbers : shares[k - 1], corners,
                      triangles.subspan(begin, stop - begin), begin + 1, filled, 0, height);
        }
    });
    const std::span<Colour> merged = numbers.writablePixels();
    for (const PixelBuffer& share : shares)
        for (std::size_t p = 0; p < merged.size(); ++p)
            if (const Colour number = share.pixels()[p]; number != 0)
                merged[p] = number;
}

}  // namespace quarn
