// A plain picture: width x height Colours, row after row from the top, and the rasterizer
// that draws on it without anti-aliasing.
//
// Polygon fill: a pixel is filled when its centre lies inside the triangle; a centre exactly
// on an edge counts for edges on the top or the left of the triangle only, so triangles that
// share an edge never both claim its pixels. Lines: one pixel per step along the longer axis,
// both end points included, the other coordinate rounded to the nearest pixel (halves toward
// the larger value); a line is the same set of pixels drawn either way, so shared edges of a
// wire frame coincide. Everything is clipped to the picture; coordinates may lie anywhere in
// the 32-bit range.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "canvas.h"

namespace quarn {

class PixelBuffer {
  public:
    PixelBuffer(std::int32_t width, std::int32_t height, Colour fill = kBlack);

    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }
    /// The colour at (x, y); std::out_of_range outside the picture.
    Colour pixel(std::int32_t x, std::int32_t y) const;
    /// Sets the colour at (x, y); outside the picture nothing happens.
    void setPixel(std::int32_t x, std::int32_t y, Colour colour);
    const std::vector<Colour>& pixels() const { return m_pixels; }
    /// The same pixels for writing.
    std::span<Colour> writablePixels() { return m_pixels; }

    /// Fills the pixels whose centres lie inside the triangle a b c.
    void fillTriangle(Point a, Point b, Point c, Colour colour);
    /// The same, only the part in rows firstRow..endRow-1.
    void fillTriangle(Point a, Point b, Point c, Colour colour, std::int32_t firstRow,
                      std::int32_t endRow);
    /// Draws the line from a to b, both ends included.
    void drawLine(Point a, Point b, Colour colour);
    /// The same, only the part in rows firstRow..endRow-1.
    void drawLine(Point a, Point b, Colour colour, std::int32_t firstRow, std::int32_t endRow);
    /// Fills columns left..right-1 and rows top..bottom-1.
    void fillRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                  Colour colour);

  private:
    Colour* row(std::int32_t y) { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }

    std::int32_t m_width, m_height;
    std::vector<Colour> m_pixels;
};

/// A Canvas that draws on a PixelBuffer.
class PixelCanvas : public Canvas {
  public:
    explicit PixelCanvas(PixelBuffer& buffer) : m_buffer(buffer) {}

    PixelBuffer& buffer() { return m_buffer; }

    void polygon(Point a, Point b, Point c) override;
    void rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                   std::int32_t bottom) override;

  private:
    PixelBuffer& m_buffer;
};

}  // namespace quarn
