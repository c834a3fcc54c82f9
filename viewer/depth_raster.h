// Drawing triangles with hidden surfaces removed: each pixel shows the surface nearest the
// observer, by the view-space depth y' (larger is nearer) interpolated across each triangle.
//
// The pixels are those of the plain drawing (raster_walk.h): a triangle's fill and its outline.
// Across the fill the depth follows the plane through the three pixel corners; along an
// outline it runs evenly from one end to the other. Equal depth goes to the later triangle,
// as in the plain drawing. Each core draws a consecutive share of the triangles into a picture
// of its own; keeping the nearest pixel of the shares, the later share's at equal depth,
// gives the same picture as one pass. Large pictures are cut into bands of rows instead, each
// core drawing every triangle's part within its band. A picture may be drawn a band of rows at
// a time, each band giving the same pixels as the whole picture has there.
#pragma once

#include <span>

#include "pixel_buffer.h"
#include "tdf_format.h"

namespace quarn {

/// Draws triangle i of triangles (their indices name pixel corners and depths), filled and
/// outlined, with the value i + 1 where it is the nearest, on the rows of the picture that
/// numbers holds (its row 0 is the picture's row top): afterwards each pixel holds the number
/// of the nearest triangle over it, 0 where none is.
void DrawNearestTriangleNumbers(PixelBuffer& numbers, std::int32_t top,
                                std::span<const Point> corners, std::span<const float> depths,
                                std::span<const Triangle> triangles);

/// Gives the outline pixels that no nearer surface covers the number of the nearest triangle
/// there, every other pixel 0, on the rows that numbers holds as above. An outline pixel counts
/// as uncovered when it lies within a pixel's depth change of the nearest surface there, so
/// the shared edges of a surface all show.
void DrawVisibleOutlineNumbers(PixelBuffer& numbers, std::int32_t top,
                               std::span<const Point> corners, std::span<const float> depths,
                               std::span<const Triangle> triangles);

}  // namespace quarn
