// The drawing surface the viewer paints on: a brush (solid or clear, with a colour), a pen
// colour (always one pixel wide, solid), filled-and-outlined triangles and rectangles.
//
// Coordinates are pixels, x to the right and y down; whatever falls outside the surface is
// clipped. A new surface has a white solid brush and a black pen.
#pragma once

#include <cstdint>

#include "shading.h"

namespace quarn {

struct Point {
    std::int32_t x = 0, y = 0;
};

enum class BrushStyle { Solid, Clear };

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;

class Canvas {
  public:
    virtual ~Canvas() = default;

    /// The closed polygon a-b-c: filled with the brush unless it is clear, outlined with the pen.
    virtual void polygon(Point a, Point b, Point c) = 0;
    /// Covers columns left..right-1 and rows top..bottom-1: the outermost ring in the pen
    /// colour, the inside with the brush unless it is clear.
    virtual void rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) = 0;

    BrushStyle brushStyle = BrushStyle::Solid;
    Colour brushColour = kWhite;
    Colour penColour = kBlack;
};

}  // namespace quarn
