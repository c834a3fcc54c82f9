#include "depth_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "parallel.h"
#include "raster_walk.h"

namespace quarn {

namespace {

// A triangle's pixel corners with their depths, and the plane of the depths over the picture,
// worked out when first asked for.
class DepthTriangle {
  public:
    DepthTriangle(std::span<const Point> corners, const Triangle& t)
        : m_corner{corners[std::size_t(t.a)], corners[std::size_t(t.b)],
                   corners[std::size_t(t.c)]} {}

    // The corners' depths, read once the triangle is known to be drawn.
    void takeDepths(std::span<const float> depths, const Triangle& t) {
        m_depth[0] = depths[std::size_t(t.a)];
        m_depth[1] = depths[std::size_t(t.b)];
        m_depth[2] = depths[std::size_t(t.c)];
    }

    Point corner(int k) const { return m_corner[k]; }

    // True when it has no pixel in columns 0..width-1 of rows first..end-1.
    bool outside(std::int32_t width, std::int32_t first, std::int32_t end) const {
        const auto [minX, maxX] = std::minmax({m_corner[0].x, m_corner[1].x, m_corner[2].x});
        const auto [minY, maxY] = std::minmax({m_corner[0].y, m_corner[1].y, m_corner[2].y});
        return maxY < first || minY >= end || maxX < 0 || minX >= width;
    }

    // The depth of the plane at the centre of pixel (x, y).
    float inside(std::int32_t x, std::int32_t y) {
        findPlane();
        return static_cast<float>(m_depth[0] + m_slopeX * (x + 0.5 - m_corner[0].x) +
                                  m_slopeY * (y + 0.5 - m_corner[0].y));
    }

    // The depth at pixel (x, y) of the outline from corner k to the next when it is at most two
    // pixels long: an end's, or halfway between for the middle pixel.
    float onShortOutline(int k, Point p) const {
        const Point from = m_corner[k], to = m_corner[(k + 1) % 3];
        if (p.x == from.x && p.y == from.y)
            return float(m_depth[k]);
        if (p.x == to.x && p.y == to.y)
            return float(m_depth[(k + 1) % 3]);
        return static_cast<float>((m_depth[k] + m_depth[(k + 1) % 3]) / 2);
    }

    // The depth at pixel (x, y) of the outline from corner k to the next, evenly along its
    // longer axis.
    float onOutline(int k, std::int32_t x, std::int32_t y) const {
        const Point from = m_corner[k], to = m_corner[(k + 1) % 3];
        const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
        const double along =
            std::fabs(dx) >= std::fabs(dy) ? (dx == 0 ? 0 : (x - from.x) / dx) : (y - from.y) / dy;
        return static_cast<float>(m_depth[k] + along * (m_depth[(k + 1) % 3] - m_depth[k]));
    }

    // How much the depth changes over about a pixel: for a triangle a couple of pixels across,
    // the spread of its corners' depths; otherwise the plane's change over one pixel.
    double pixelChange() {
        const auto [minX, maxX] = std::minmax({m_corner[0].x, m_corner[1].x, m_corner[2].x});
        const auto [minY, maxY] = std::minmax({m_corner[0].y, m_corner[1].y, m_corner[2].y});
        if (std::int64_t(maxX) - minX <= 2 && std::int64_t(maxY) - minY <= 2) {
            const auto [low, high] = std::minmax({m_depth[0], m_depth[1], m_depth[2]});
            return high - low;
        }
        findPlane();
        return std::fabs(m_slopeX) + std::fabs(m_slopeY);
    }

  private:
    void findPlane() {
        if (m_planeFound)
            return;
        m_planeFound = true;
        const double bx = double(m_corner[1].x) - m_corner[0].x,
                     by = double(m_corner[1].y) - m_corner[0].y;
        const double cx = double(m_corner[2].x) - m_corner[0].x,
                     cy = double(m_corner[2].y) - m_corner[0].y;
        const double area = bx * cy - by * cx;
        if (area == 0)
            return;  // no fill, and a flat plane for the outlines' slack
        const double db = m_depth[1] - m_depth[0], dc = m_depth[2] - m_depth[0];
        m_slopeX = (db * cy - dc * by) / area;
        m_slopeY = (dc * bx - db * cx) / area;
    }

    Point m_corner[3];
    double m_depth[3] = {};
    bool m_planeFound = false;
    double m_slopeX = 0, m_slopeY = 0;  // per pixel
};

// Calls plot(x, y, depth, onOutline) for the pixels of triangle t in columns 0..width-1 of
// rows first..end-1: its fill, then its outline.
template <typename Plot>
void WalkWithDepth(DepthTriangle& t, std::int32_t width, std::int32_t first, std::int32_t end,
                   Plot plot) {
    const auto inRows = [&](Point p) {
        return std::uint32_t(p.x) < std::uint32_t(width) &&
               std::uint32_t(p.y) - std::uint32_t(first) < std::uint32_t(end - first);
    };
    const auto fill = [&](Point p) {
        if (inRows(p))
            plot(p.x, p.y, t.inside(p.x, p.y), false);
    };
    if (!WalkSmallTriangle(t.corner(0), t.corner(1), t.corner(2), width, first, end, fill))
        WalkTriangle(t.corner(0), t.corner(1), t.corner(2), width, first, end,
                     [&](std::int32_t x, std::int32_t y) { plot(x, y, t.inside(x, y), false); });
    for (int k = 0; k < 3; ++k) {
        const auto outline = [&](Point p) {
            if (inRows(p))
                plot(p.x, p.y, t.onShortOutline(k, p), true);
        };
        if (!WalkShortLine(t.corner(k), t.corner((k + 1) % 3), outline))
            WalkLine(
                t.corner(k), t.corner((k + 1) % 3), width, first, end,
                [&](std::int32_t x, std::int32_t y) { plot(x, y, t.onOutline(k, x, y), true); });
    }
}

// The nearest depth and triangle number of each pixel of a band of rows of a picture (its row
// 0 the picture's row top); for wire frames also the highest depth that an outline reaches
// there, its triangle's pixel change added.
struct DepthPicture {
    DepthPicture(std::int32_t columns, std::int32_t firstRow, std::int32_t rows, bool outlines)
        : width(columns),
          top(firstRow),
          end(firstRow + rows),
          depth(std::size_t(std::max(columns, 0)) * std::size_t(std::max(rows, 0)),
                -std::numeric_limits<float>::infinity()),
          numbers(depth.size(), 0),
          outlineReach(outlines ? depth.size() : 0, -std::numeric_limits<float>::infinity()) {}

    std::size_t at(std::int32_t x, std::int32_t y) const {
        return std::size_t(y - top) * std::size_t(width) + std::size_t(x);
    }

    std::int32_t width, top, end;
    std::vector<float> depth;
    std::vector<Colour> numbers;
    std::vector<float> outlineReach;
};

// Triangles first..end-1, in order, filled and outlined, into rows firstRow..endRow-1 of
// picture; with kOutlines also the outlines' reach.
template <bool kOutlines>
void DrawNearest(DepthPicture& picture, std::span<const Point> corners,
                 std::span<const float> depths, std::span<const Triangle> triangles,
                 std::size_t first, std::size_t end, std::int32_t firstRow, std::int32_t endRow) {
    for (std::size_t i = first; i < end; ++i) {
        DepthTriangle t(corners, triangles[i]);
        if (t.outside(picture.width, firstRow, endRow))
            continue;
        t.takeDepths(depths, triangles[i]);
        const auto number = Colour(i + 1);
        const float slack = kOutlines ? static_cast<float>(t.pixelChange()) : 0.0f;
        WalkWithDepth(t, picture.width, firstRow, endRow,
                      [&](std::int32_t x, std::int32_t y, float z, bool onOutline) {
                          const std::size_t p = picture.at(x, y);
                          if (z >= picture.depth[p]) {
                              picture.depth[p] = z;
                              picture.numbers[p] = number;
                          }
                          if (kOutlines && onOutline)
                              picture.outlineReach[p] =
                                  std::max(picture.outlineReach[p], z + slack);
                      });
    }
}

// Triangles first..end-1 into rows firstRow..endRow-1 of picture.
void DrawNearest(DepthPicture& picture, std::span<const Point> corners,
                 std::span<const float> depths, std::span<const Triangle> triangles,
                 std::size_t first, std::size_t end, std::int32_t firstRow, std::int32_t endRow,
                 bool outlines) {
    if (outlines)
        DrawNearest<true>(picture, corners, depths, triangles, first, end, firstRow, endRow);
    else
        DrawNearest<false>(picture, corners, depths, triangles, first, end, firstRow, endRow);
}

// Below this many triangles the shares or bands are drawn one after another on the calling
// thread; up to the picture size, each worker draws its share of the triangles into a picture
// of its own, larger pictures are cut into bands of rows instead.
constexpr std::size_t kTrianglesWorthThreads = 1 << 14;
constexpr std::int64_t kPrivatePictureLimit = std::int64_t{1} << 20;

// The rows top..top+rows-1 of the picture. Each worker draws a consecutive share of the
// triangles into a picture of its own; the nearest of the shares' pixels is kept, the later
// share's at equal depth, which is what one pass in order gives. A large picture is cut into
// bands of rows instead, each worker drawing every triangle's part within its band, in order.
DepthPicture Nearest(std::int32_t width, std::int32_t top, std::int32_t rows,
                     std::span<const Point> corners, std::span<const float> depths,
                     std::span<const Triangle> triangles, bool outlines) {
    const std::size_t workers = WorkerCount();
    if (std::int64_t(width) * rows > kPrivatePictureLimit) {
        DepthPicture picture(width, top, rows, outlines);
        const std::size_t perThread = triangles.size() >= kTrianglesWorthThreads ? 1 : workers;
        const auto count = std::size_t(std::max(rows, 0));
        ParallelChunks(workers, perThread, [&](std::size_t, std::size_t first, std::size_t end) {
            for (std::size_t band = first; band < end; ++band)
                DrawNearest(picture, corners, depths, triangles, 0, triangles.size(),
                            top + std::int32_t(count * band / workers),
                            top + std::int32_t(count * (band + 1) / workers), outlines);
        });
        return picture;
    }
    std::vector<DepthPicture> shares;
    const std::size_t count = ChunkCount(triangles.size(), kTrianglesWorthThreads);
    for (std::size_t k = 0; k < std::max<std::size_t>(count, 1); ++k)
        shares.emplace_back(width, top, rows, outlines);
    ParallelChunks(triangles.size(), kTrianglesWorthThreads,
                   [&](std::size_t share, std::size_t first, std::size_t end) {
                       DrawNearest(shares[share], corners, depths, triangles, first, end, top,
                                   top + rows, outlines);
                   });
    DepthPicture& merged = shares.front();
    for (std::size_t k = 1; k < shares.size(); ++k)
        for (std::size_t p = 0; p < merged.depth.size(); ++p) {
            if (shares[k].numbers[p] != 0 && shares[k].depth[p] >= merged.depth[p]) {
                merged.depth[p] = shares[k].depth[p];
                merged.numbers[p] = shares[k].numbers[p];
            }
            if (outlines)
                merged.outlineReach[p] =
                    std::max(merged.outlineReach[p], shares[k].outlineReach[p]);
        }
    return std::move(merged);
}

}  // namespace

void DrawNearestTriangleNumbers(PixelBuffer& numbers, std::int32_t top,
                                std::span<const Point> corners, std::span<const float> depths,
                                std::span<const Triangle> triangles) {
    const DepthPicture nearest =
        Nearest(numbers.width(), top, numbers.height(), corners, depths, triangles, false);
    std::copy(nearest.numbers.begin(), nearest.numbers.end(), numbers.writablePixels().begin());
}

void DrawVisibleOutlineNumbers(PixelBuffer& numbers, std::int32_t top,
                               std::span<const Point> corners, std::span<const float> depths,
                               std::span<const Triangle> triangles) {
    const DepthPicture nearest =
        Nearest(numbers.width(), top, numbers.height(), corners, depths, triangles, true);
    // An outline shows where it comes within a pixel's depth change of the nearest surface.
    const std::span<Colour> pixels = numbers.writablePixels();
    constexpr std::size_t kPixelsPerWorker = 1 << 14;
    ParallelChunks(pixels.size(), kPixelsPerWorker,
                   [&](std::size_t, std::size_t first, std::size_t end) {
                       for (std::size_t p = first; p < end; ++p) {
                           const Colour number = nearest.numbers[p];
                           if (number == 0)
                               continue;
                           DepthTriangle front(corners, triangles[number - 1]);
                           front.takeDepths(depths, triangles[number - 1]);
                           if (nearest.outlineReach[p] + front.pixelChange() >= nearest.depth[p])
                               pixels[p] = number;
                       }
                   });
}

}  // namespace quarn
