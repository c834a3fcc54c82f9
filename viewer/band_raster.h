// Drawing a list of triangles into a PixelBuffer on all cores, with the picture that drawing
// them one by one through a PixelCanvas gives.
//
// The picture is cut into bands of rows, one per worker. Each worker goes through every
// triangle in list order and draws the part of it that falls in its band, so within each band,
// and so everywhere, a later triangle covers an earlier one exactly as in one sequential pass.
// The pixels are those of PixelBuffer::fillTriangle and drawLine.
#pragma once

#include <span>

#include "pixel_buffer.h"
#include "tdf_format.h"

namespace quarn {

/// Outlines triangles, whose indices name pixel corners, in white, in order.
void DrawWireTriangles(PixelBuffer& picture, std::span<const Point> corners,
                       std::span<const Triangle> triangles);
/// Fills and outlines triangle i with the value i + 1, in order: which triangle shows where.
void DrawTriangleNumbers(PixelBuffer& numbers, std::span<const Point> corners,
                         std::span<const Triangle> triangles);

}  // namespace quarn
