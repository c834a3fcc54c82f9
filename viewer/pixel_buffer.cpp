#include "pixel_buffer.h"

#include <algorithm>
#include <stdexcept>

#include "raster_walk.h"

namespace quarn {

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
    WalkTriangle(a, b, c, m_width, std::max(firstRow, 0), std::min(endRow, m_height),
                 [&](std::int32_t x, std::int32_t y) { row(y)[x] = colour; });
}

void PixelBuffer::drawLine(Point a, Point b, Colour colour) {
    drawLine(a, b, colour, 0, m_height);
}

void PixelBuffer::drawLine(Point a, Point b, Colour colour, std::int32_t firstRow,
                           std::int32_t endRow) {
    WalkLine(a, b, m_width, std::max(firstRow, 0), std::min(endRow, m_height),
             [&](std::int32_t x, std::int32_t y) { row(y)[x] = colour; });
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
