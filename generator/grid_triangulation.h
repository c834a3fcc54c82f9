// A Delaunay triangulation of points of an integer grid, refined one point at a time.
//
// It starts as the rectangle [0, width - 1] x [0, height - 1] split into two triangles along
// the diagonal from the top-left corner, as the full grid splits its squares, and every point
// inserted afterwards lies inside a triangle or on one of its edges. Edge flips keep it
// Delaunay; points on a common circle are left as they come, so the result depends only on
// the order of insertion. Every triangle has the full grid's winding: with x to the right and
// y down, (b - a) x (c - a) > 0. Coordinates fit 32 bits; the predicates are exact.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quarn {

struct GridPoint {
    std::int32_t x = 0, y = 0;
};

class GridTriangulation {
  public:
    /// The rectangle as two triangles; width and height at least 2.
    GridTriangulation(std::int32_t width, std::int32_t height);

    std::size_t pointCount() const { return m_points.size(); }
    std::size_t triangleCount() const { return m_triangles.size(); }
    GridPoint point(std::int32_t vertex) const { return m_points[std::size_t(vertex)]; }
    /// The triangle's vertices in the grid's winding.
    const std::array<std::int32_t, 3>& corners(std::int32_t triangle) const {
        return m_triangles[std::size_t(triangle)].corners;
    }

    /// How many triangles inserting p into the triangle adds: 1 on the rectangle's outline,
    /// else 2.
    int insertionGrowth(std::int32_t triangle, GridPoint p) const;

    /// Adds p, which lies inside the triangle or on one of its edges but is no vertex, and
    /// flips edges until the triangulation is Delaunay again. Returns the triangles around p,
    /// the only ones made or changed; they last until the next insertion.
    const std::vector<std::int32_t>& insert(std::int32_t triangle, GridPoint p);

  private:
    // Edge i runs from corners[i] to corners[i + 1]; neighbours[i] lies across it, -1 on the
    // outline.
    struct Triangle {
        std::array<std::int32_t, 3> corners;
        std::array<std::int32_t, 3> neighbours;
    };

    std::int32_t addTriangle();
    void setTriangle(std::int32_t t, std::array<std::int32_t, 3> corners,
                     std::array<std::int32_t, 3> neighbours);
    void relink(std::int32_t neighbour, std::int32_t from, std::int32_t to);
    void splitInside(std::int32_t t, std::int32_t p);
    void splitEdge(std::int32_t t, int edge, std::int32_t p);
    void restoreDelaunay();

    std::vector<GridPoint> m_points;
    std::vector<Triangle> m_triangles;
    // Triangles with the new point as corner 2 whose edge 0, opposite it, is still to check.
    std::vector<std::int32_t> m_toCheck;
    std::vector<std::int32_t> m_around;
};

}  // namespace quarn
