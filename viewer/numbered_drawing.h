// The drawing of the projected triangles on a PixelBuffer in two steps: each pixel first gets
// the number of the triangle that the one-by-one drawing would leave there (0 for none), then
// the numbered pixels get their colours: white in a wire frame, shaded, the colour of their
// triangle, worked out only for the triangles that show.
//
// Both steps work on any band of rows of the picture, each band giving the pixels that the
// whole picture has there, so a large picture can be drawn a band at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "pixel_buffer.h"
#include "polygon_plan.h"
#include "projection.h"

namespace quarn {

/// Numbers the rows of the picture that numbers holds (its row 0 the picture's row top) with
/// the drawable triangles at the plan's corners; hiddenSurfaces keeps the nearest triangle's.
void DrawTriangleNumbersOf(PixelBuffer& numbers, std::int32_t top, const ProjectedScene& projected,
                           const PolygonPlan& plan, bool shaded, bool hiddenSurfaces);

/// Paints the pixels whose numbers are not 0 (pixels and numbers alike in size and rows);
/// shaded, returns the colour of the last drawable triangle, which the one-by-one drawing
/// leaves on the pen.
std::optional<Colour> PaintNumberedPixels(std::span<Colour> pixels, const PixelBuffer& numbers,
                                          const ProjectedScene& projected, const PolygonPlan& plan,
                                          bool shaded);

}  // namespace quarn
