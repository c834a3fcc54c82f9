#include "band_raster.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "parallel.h"
#include "raster_walk.h"

namespace quarn {

namespace {

// Below this many triangles the shares or bands are drawn one after another on the calling
// thread.
constexpr std::size_t kTrianglesWorthThreads = 1 << 14;

// Sets pixels of rows first..end-1 of a band of the picture whose row 0 is the picture's row
// bandTop, clipped to those rows and to the picture's width.
class BandPen {
  public:
    BandPen(PixelBuffer& band, std::int32_t bandTop, std::int32_t first, std::int32_t end)
        : m_pixels(band.writablePixels()),
          m_width(band.width()),
          m_bandTop(bandTop),
          m_first(first),
          m_rows(std::uint32_t(end - first)) {}

    void plot(Point p, Colour colour) const {
        // Unsigned differences wrap instead of overflowing for rows far outside the picture.
        if (std::uint32_t(p.x) < std::uint32_t(m_width) &&
            std::uint32_t(p.y) - std::uint32_t(m_first) < m_rows)
            put(p.x, p.y, colour);
    }
    // For pixels already known to lie in the rows and the width.
    void put(std::int32_t x, std::int32_t y, Colour colour) const {
        m_pixels[std::size_t(y - m_bandTop) * std::size_t(m_width) + std::size_t(x)] = colour;
    }

  private:
    std::span<Colour> m_pixels;
    std::int32_t m_width, m_bandTop, m_first;
    std::uint32_t m_rows;
};

// Draws triangle i of triangles with the value firstNumber + i, filled or only outlined, in
// rows first..end-1 of band, whose row 0 is the picture's row bandTop.
void DrawRange(PixelBuffer& band, std::int32_t bandTop, std::span<const Point> corners,
               std::span<const Triangle> triangles, std::size_t firstNumber, bool filled,
               std::int32_t first, std::int32_t end) {
    const std::int32_t width = band.width();
    const BandPen pen(band, bandTop, first, end);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const Triangle& t = triangles[i];
        const Point a = corners[std::size_t(t.a)], b = corners[std::size_t(t.b)],
                    c = corners[std::size_t(t.c)];
        const std::int32_t minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
        const std::int32_t minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
        // A triangle's pixels, filled or outlined, lie within the box of its corners.
        if (maxY < first || minY >= end || maxX < 0 || minX >= width)
            continue;
        const auto number = Colour(firstNumber + i);
        // The fill takes centres within the box, so a box one pixel thin has none.
        const auto plot = [&](Point p) { pen.plot(p, number); };
        const auto put = [&](std::int32_t x, std::int32_t y) { pen.put(x, y, number); };
        if (filled && maxX != minX && maxY != minY &&
            !WalkSmallTriangle(a, b, c, width, first, end, plot))
            WalkTriangle(a, b, c, width, first, end, put);
        for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}})
            if (!WalkShortLine(from, to, plot))
                WalkLine(from, to, width, first, end, put);
    }
}

// Up to this size each worker draws its share of the triangles into a picture of its own;
// larger pictures are cut into bands of rows instead.
constexpr std::int64_t kPrivatePictureLimit = std::int64_t{1} << 20;

}  // namespace

void DrawTriangleNumbers(PixelBuffer& numbers, std::int32_t top, std::span<const Point> corners,
                         std::span<const Triangle> triangles, bool filled) {
    const std::int32_t width = numbers.width(), rows = numbers.height();
    const std::size_t workers = WorkerCount();
    // The same cuts however many triangles; threads only when they are worth it.
    const std::size_t perThread = triangles.size() >= kTrianglesWorthThreads ? 1 : workers;
    if (std::int64_t(width) * rows > kPrivatePictureLimit) {
        const auto count = std::size_t(std::max(rows, 0));
        ParallelChunks(workers, perThread, [&](std::size_t, std::size_t first, std::size_t end) {
            for (std::size_t band = first; band < end; ++band)
                DrawRange(numbers, top, corners, triangles, 1, filled,
                          top + std::int32_t(count * band / workers),
                          top + std::int32_t(count * (band + 1) / workers));
        });
        return;
    }
    // Share k holds later triangles, so larger numbers, than share k - 1: where both drew, the
    // later share's number is the one that drawing all in order leaves.
    std::vector<PixelBuffer> shares;
    for (std::size_t k = 1; k < workers; ++k)
        shares.emplace_back(width, rows, 0);
    ParallelChunks(workers, perThread, [&](std::size_t, std::size_t first, std::size_t end) {
        for (std::size_t k = first; k < end; ++k) {
            const std::size_t begin = triangles.size() * k / workers,
                              stop = triangles.size() * (k + 1) / workers;
            DrawRange(k == 0 ? numbers : shares[k - 1], top, corners,
                      triangles.subspan(begin, stop - begin), begin + 1, filled, top, top + rows);
        }
    });
    const std::span<Colour> merged = numbers.writablePixels();
    for (const PixelBuffer& share : shares)
        for (std::size_t p = 0; p < merged.size(); ++p)
            if (const Colour number = share.pixels()[p]; number != 0)
                merged[p] = number;
}

}  // namespace quarn
