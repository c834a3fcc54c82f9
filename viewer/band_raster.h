// Drawing a list of triangles on all cores, as numbers: which triangle a sequential drawing
// through a PixelCanvas would have left on each pixel.
//
// Each worker draws a consecutive share of the triangles, in order, into a picture of its own;
// where shares overlap, the later share's number is the larger and the one kept, exactly as
// the later triangle covers the earlier in one sequential pass. Large pictures are cut into
// bands of rows instead, each worker drawing every triangle's part within its band. The pixels
// are those of PixelBuffer::fillTriangle and drawLine. A picture may be drawn a band of rows at
// a time, each band giving the same pixels as the whole picture has there.
#pragma once

#include <span>

#include "pixel_buffer.h"
#include "tdf_format.h"

namespace quarn {

/// Draws triangle i of triangles (their indices name pixel corners) with the value i + 1,
/// filled and outlined or only outlined, on the rows of the picture that numbers holds (its
/// row 0 is the picture's row top, its width the picture's): afterwards each pixel holds the
/// number of the last triangle drawn over it, 0 where none was.
void DrawTriangleNumbers(PixelBuffer& numbers, std::int32_t top, std::span<const Point> corners,
                         std::span<const Triangle> triangles, bool filled);

}  // namespace quarn
