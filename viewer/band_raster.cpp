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
        const auto plot = [&](Point p) { pen.plot(p, number); };
        if (filled && maxX != minX && maxY != minY &&
            !WalkSmallTriangle(a, b, c, width, top, bottom, plot))
            picture.fillTriangle(a, b, c, number, top, bottom);
        for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}})
            if (!WalkShortLine(from, to, plot))
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
