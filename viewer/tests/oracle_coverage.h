// Which pixels a triangle of pixel corners covers, and at what depth, by the drawing's rules.
//
// The fill takes a pixel whose centre lies inside the triangle, or on a top edge (level, the
// triangle below it) or a left edge (the triangle to its right). The pen's outline takes, for
// each edge, one pixel per step along the longer axis, both ends included, the other
// coordinate the nearest to the edge, halves toward the larger: the same pixels from either
// end. Across the fill the depth y' follows the plane through the three pixel corners, taken
// at the pixel's centre; along an edge it runs evenly from one end to the other.
#pragma once

#include <cstdint>
#include <optional>

#include "canvas.h"

namespace quarn::testing {

/// A triangle as the drawing sees it: pixel corners, their depths y', its colour.
struct Shape {
    Point corner[3];
    double depth[3];
    Colour colour;
};

/// The depth of the outline at pixel (x, y), the nearest of its edges there, if it has the pixel.
std::optional<double> OutlineDepth(const Shape& s, std::int32_t x, std::int32_t y);

/// The nearer of the fill's and the outline's depths at pixel (x, y), if either has the pixel.
std::optional<double> DepthAt(const Shape& s, std::int32_t x, std::int32_t y);

/// Depth change from one pixel to the next: across the plane (steeper axis, both), along an edge.
struct Changes {
    double steep = 0, both = 0, edge = 0;
};

/// The triangle's depth changes: the most along an edge; across the plane none without an area.
Changes ChangesOf(const Shape& s);

}  // namespace quarn::testing
