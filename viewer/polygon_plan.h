// What drawing the projected triangles one by one computes before each polygon, worked out
// for all of them at once on all cores.
//
// PlanPolygons gives every vertex its pixel, as CornerPixel would for each corner, and finds where
// the one-by-one drawing would stop: at the first triangle, in scene order, whose pixel corners
// or (in shaded mode) whose colour fault. Quick arithmetic does the bulk; wherever it cannot be
// sure (a pixel near the 32-bit range, a triangle whose shading might overflow), CornerPixel and
// ComputeShadedColour themselves decide, in scene order. ShadeTriangles then gives the colours
// of the triangles that are needed, which no longer fault.
#pragma once

#include <cstddef>
#include <exception>
#include <span>
#include <vector>

#include "canvas.h"
#include "projection.h"

namespace quarn {

struct PolygonPlan {
    std::vector<Point> corners;  // the pixel of each vertex
    std::size_t drawable = 0;    // the triangles before the first fault
    std::exception_ptr fault;    // that fault, if any
};

/// Pixel corners at zoom and the first fault; shaded: the colours' faults included. The
/// corners go into the memory of reuse.
PolygonPlan PlanPolygons(const ProjectedScene& projected, float zoom, bool shaded,
                         std::vector<Point> reuse);

/// colours[k] = the shaded colour of triangle which[k], for drawable triangles.
void ShadeTriangles(const ProjectedScene& projected, std::span<const std::size_t> which,
                    Colour* colours);

/// The pixel of a view-space corner at zoom, as the one-by-one drawing computes it.
Point CornerPixel(const WindowMapping& mapping, float zoom, const Vec3& corner);
/// The shaded colour of triangle i as the one-by-one drawing computes it.
Colour ShadedColourOf(const ProjectedScene& projected, std::size_t i);

}  // namespace quarn
