#include "pixel_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace quarn {

namespace {

__extension__ typedef __int128 Wide;

// Coordinates this small keep every edge-function product of doubled coordinates in 64 bits.
constexpr std::int64_t kNarrowLimit = std::int64_t{1} << 28;

bool Narrow(Point p) {
    return std::llabs(p.x) < kNarrowLimit && std::llabs(p.y) < kNarrowLimit;
}

// floor(n / d) for d > 0.
Wide FloorDiv(Wide n, Wide d) {
    Wide q = n / d;
    if (n % d != 0 && n < 0)
        --q;
    return q;
}

template <typename Int>
struct Edge {
    Int stepX, stepY, value;  // value at the current pixel centre
    bool topLeft;

    Edge(Point a, Point b, std::int32_t px, std::int32_t py) {
        const Int dx = Int(b.x) - a.x, dy = Int(b.y) - a.y;
        // Doubled coordinates put pixel centres on integers.
        value = dx * (Int(2) * py + 1 - Int(2) * a.y) - dy * (Int(2) * px + 1 - Int(2) * a.x);
        stepX = -2 * dy;
        stepY = 2 * dx;
        topLeft = dy < 0 || (dy == 0 && dx > 0);
    }
    bool covers(Int v) const { return topLeft ? v >= 0 : v > 0; }
};

template <typename Int>
void FillClipped(PixelBuffer& buffer, Point a, Point b, Point c, std::int32_t x0, std::int32_t y0,
                 std::int32_t x1, std::int32_t y1, Colour colour) {
    const Edge<Int> e0(b, c, x0, y0), e1(c, a, x0, y0), e2(a, b, x0, y0);
    Int r0 = e0.value, r1 = e1.value, r2 = e2.value;
    for (std::int32_t y = y0; y <= y1; ++y) {
        Int v0 = r0, v1 = r1, v2 = r2;
        for (std::int32_t x = x0; x <= x1; ++x) {
            if (e0.covers(v0) && e1.covers(v1) && e2.covers(v2))
                buffer.setPixel(x, y, colour);
            v0 += e0.stepX;
            v1 += e1.stepX;
            v2 += e2.stepX;
        }
        r0 += e0.stepY;
        r1 += e1.stepY;
        r2 += e2.stepY;
    }
}

// Pixels of a line along its major axis: for major m from m0 to m1 (m0 <= m1), the minor
// coordinate is the nearest to the exact line, halves up. plot(m, minor) sets the pixel.
template <typename Plot>
void WalkLine(std::int64_t m0, std::int64_t n0, std::int64_t m1, std::int64_t n1,
              std::int64_t clipLow, std::int64_t clipHigh, Plot plot) {
    const std::int64_t dm = m1 - m0, dn = n1 - n0;
    const std::int64_t first = std::max(m0, clipLow), last = std::min(m1, clipHigh);
    if (first > last)
        return;
    if (dm == 0) {
        plot(first, n0);
        return;
    }
    // minor = n0 + floor((2 (m - m0) dn + dm) / (2 dm)), kept as quotient and remainder; the
    // numerator needs more than 64 bits only for lines far longer than a picture.
    const Wide twiceDm = Wide(2) * dm;
    Wide quotient;
    std::int64_t remainder;
    if (std::llabs(first - m0) < kNarrowLimit && std::llabs(dn) < 2 * kNarrowLimit) {
        const std::int64_t numerator = 2 * (first - m0) * dn + dm, twice = 2 * dm;
        std::int64_t q = numerator / twice, r = numerator % twice;
        if (r < 0)
            --q, r += twice;
        quotient = q;
        remainder = r;
    } else {
        const Wide numerator = Wide(2) * (first - m0) * dn + dm;
        quotient = FloorDiv(numerator, twiceDm);
        remainder = static_cast<std::int64_t>(numerator - quotient * twiceDm);
    }
    std::int64_t minor = n0 + static_cast<std::int64_t>(quotient);
    const auto step = static_cast<std::int64_t>(2 * dn), wrap = static_cast<std::int64_t>(twiceDm);
    for (std::int64_t m = first; m <= last; ++m) {
        plot(m, minor);
        remainder += step;
        if (remainder >= wrap) {
            remainder -= wrap;
            ++minor;
        } else if (remainder < 0) {
            remainder += wrap;
            --minor;
        }
    }
}

}  // namespace

PixelBuffer::PixelBuffer(std::int32_t width, std::int32_t height, Colour fill)
    : m_width(width),
      m_height(height),
      m_pixels(std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0)), fill) {}

Colour PixelBuffer::pixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        throw std::out_of_range("Pixel outside the picture");
    return m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)];
}

void PixelBuffer::setPixel(std::int32_t x, std::int32_t y, Colour colour) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        row(y)[x] = colour;
}

void PixelBuffer::fillTriangle(Point a, Point b, Point c, Colour colour) {
    fillTriangle(a, b, c, colour, 0, m_height);
}

void PixelBuffer::fillTriangle(Point a, Point b, Point c, Colour colour, std::int32_t firstRow,
                               std::int32_t endRow) {
    const bool narrow = Narrow(a) && Narrow(b) && Narrow(c);
    const Wide area =
        narrow ? Wide((std::int64_t(b.x) - a.x) * (std::int64_t(c.y) - a.y) -
                      (std::int64_t(b.y) - a.y) * (std::int64_t(c.x) - a.x))
               : (Wide(b.x) - a.x) * (Wide(c.y) - a.y) - (Wide(b.y) - a.y) * (Wide(c.x) - a.x);
    if (area == 0)
        return;
    if (area < 0)
        std::swap(b, c);  // every edge then has the inside on its positive side
    // Centres x + 0.5 within [min, max) of the corners, clipped to the picture.
    const std::int32_t x0 = std::max(std::min({a.x, b.x, c.x}), 0);
    const std::int32_t x1 = std::min(std::max({a.x, b.x, c.x}) - 1, m_width - 1);
    const std::int32_t y0 = std::max(std::min({a.y, b.y, c.y}), std::max(firstRow, 0));
    const std::int32_t y1 = std::min(std::max({a.y, b.y, c.y}) - 1, std::min(endRow, m_height) - 1);
    if (x0 > x1 || y0 > y1)
        return;
    if (narrow)
        FillClipped<std::int64_t>(*this, a, b, c, x0, y0, x1, y1, colour);
    else
        FillClipped<Wide>(*this, a, b, c, x0, y0, x1, y1, colour);
}

void PixelBuffer::drawLine(Point a, Point b, Colour colour) {
    drawLine(a, b, colour, 0, m_height);
}

void PixelBuffer::drawLine(Point a, Point b, Colour colour, std::int32_t firstRow,
                           std::int32_t endRow) {
    const std::int64_t top = std::max(firstRow, 0), bottom = std::min(endRow, m_height);
    const std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
    if (std::llabs(dx) >= std::llabs(dy)) {
        if (dx < 0)
            std::swap(a, b);
        WalkLine(a.x, a.y, b.x, b.y, 0, m_width - 1, [&](std::int64_t x, std::int64_t y) {
            if (y >= top && y < bottom)
                row(std::int32_t(y))[x] = colour;
        });
    } else {
        if (dy < 0)
            std::swap(a, b);
        WalkLine(a.y, a.x, b.y, b.x, top, bottom - 1, [&](std::int64_t y, std::int64_t x) {
            if (x >= 0 && x < m_width)
                row(std::int32_t(y))[x] = colour;
        });
    }
}

void PixelBuffer::fillRect(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom, Colour colour) {
    const std::int32_t x0 = std::max(left, 0), x1 = std::min(right, m_width);
    const std::int32_t y0 = std::max(top, 0), y1 = std::min(bottom, m_height);
    for (std::int32_t y = y0; y < y1; ++y)
        std::fill(row(y) + x0, row(y) + std::max(x0, x1), colour);
}

void PixelCanvas::polygon(Point a, Point b, Point c) {
    if (brushStyle == BrushStyle::Solid)
        m_buffer.fillTriangle(a, b, c, brushColour);
    m_buffer.drawLine(a, b, penColour);
    m_buffer.drawLine(b, c, penColour);
    m_buffer.drawLine(c, a, penColour);
}

void PixelCanvas::rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                            std::int32_t bottom) {
    if (right <= left || bottom <= top)
        return;
    if (brushStyle == BrushStyle::Solid)
        m_buffer.fillRect(left, top, right, bottom, brushColour);
    m_buffer.fillRect(left, top, right, top + 1, penColour);
    m_buffer.fillRect(left, bottom - 1, right, bottom, penColour);
    m_buffer.fillRect(left, top, left + 1, bottom, penColour);
    m_buffer.fillRect(right - 1, top, right, bottom, penColour);
}

}  // namespace quarn
