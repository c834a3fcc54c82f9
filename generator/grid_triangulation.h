// A Delaunay triangulation of points of an integer grid, refined one point at a time and
// coarsened one vertex at a time.
//
// It starts as the rectangle [0, width - 1] x [0, height - 1] split into two triangles along
// the diagonal from the top-left corner, as the full grid splits its squares; every point
// inserted afterwards lies inside a triangle or on one of its edges. Edge flips keep it
// Delaunay; points on a common circle are left as they come, so the result depends only on
// the order of the changes. Every triangle has the full grid's winding: with x to the right
// and y down, (b - a) x (c - a) > 0. Coordinates fit 30 bits; the predicates are exact.
// Vertex and triangle ids stay put; a removed vertex's id is not used again, a removed
// triangle's may be.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace quarn {

struct GridPoint {
    std::int32_t x = 0, y = 0;
};

class GridTriangulation {
  public:
    /// The rectangle as two triangles; width and height at least 2.
    GridTriangulation(std::int32_t width, std::int32_t height);

    /// Ids run from 0 to these counts less one; some may have been removed.
    std::size_t vertexIds() const { return m_points.size(); }
    std::size_t triangleIds() const { return m_triangles.size(); }
    std::size_t triangleCount() const { return m_triangles.size() - m_freeTriangles.size(); }
    bool isVertex(std::int32_t vertex) const { return m_triangleOf[std::size_t(vertex)] >= 0; }
    bool isTriangle(std::int32_t triangle) const {
        return m_triangles[std::size_t(triangle)].corners[0] >= 0;
    }
    GridPoint point(std::int32_t vertex) const { return m_points[std::size_t(vertex)]; }
    /// The triangle's vertices in the grid's winding.
    const std::array<std::int32_t, 3>& corners(std::int32_t triangle) const {
        return m_triangles[std::size_t(triangle)].corners;
    }

    /// The triangle holding p (inside or on an edge), walked to from the given one: each step
    /// crosses an edge that p lies beyond, which never loops in a Delaunay triangulation.
    std::int32_t locate(GridPoint p, std::int32_t from) const;

    /// How many triangles inserting p into the triangle adds: 1 on the rectangle's outline,
    /// else 2.
    int insertionGrowth(std::int32_t triangle, GridPoint p) const;

    /// Adds p, which lies inside the triangle or on one of its edges but is no vertex, and
    /// flips edges until the triangulation is Delaunay again. Returns the triangles around p,
    /// the only ones made or changed; they last until the next change.
    const std::vector<std::int32_t>& insert(std::int32_t triangle, GridPoint p);

    /// Plans taking the vertex out: the triangles, in the grid's winding, that would fill the
    /// hole it leaves, chosen so that the hole is Delaunay again; none for a corner of the
    /// rectangle. They last until the next change.
    const std::vector<std::array<std::int32_t, 3>>& planRemoval(std::int32_t vertex);
    /// Carries the last plan out (flipping further edges should the hole need it). The
    /// triangles made or changed are in changed() until the next change, and undoRemoval()
    /// puts everything back as it was before.
    void removePlanned();
    const std::vector<std::int32_t>& changed() const { return m_changed; }
    void undoRemoval();

  private:
    // Edge i runs from corners[i] to corners[i + 1]; neighbours[i] lies across it, -1 on the
    // outline. A removed triangle has corners[0] = -1.
    struct Triangle {
        std::array<std::int32_t, 3> corners;
        std::array<std::int32_t, 3> neighbours;
    };
    // The hole a vertex leaves: the vertices around it in the grid's winding, ring[k] ->
    // ring[k + 1] the outer edge of the triangle star[k] and outside[k] the triangle across it
    // (-1 on the outline); on the outline the ring ends where it starts along it.
    struct Hole {
        std::int32_t vertex = -1;
        bool onOutline = false;
        std::vector<std::int32_t> ring, star, outside;
        std::vector<std::array<std::int32_t, 3>> filling;
        std::vector<std::int32_t> left;  // the ring's corners not yet clipped
        std::vector<double> depth;       // per corner left
    };

    std::int32_t addTriangle();
    void setTriangle(std::int32_t t, std::array<std::int32_t, 3> corners,
                     std::array<std::int32_t, 3> neighbours);
    void relink(std::int32_t neighbour, std::int32_t from, std::int32_t to);
    void saveForUndo(std::int32_t t);
    void splitInside(std::int32_t t, std::int32_t p);
    void splitEdge(std::int32_t t, int edge, std::int32_t p);
    bool violatesDelaunay(std::int32_t t, int edge) const;
    void flip(std::int32_t t, int edge);
    void restoreAroundNewPoint();
    void restoreAnywhere();
    void gatherHole(std::int32_t vertex);
    bool clipEars();
    void linkAcross(std::int32_t t, std::int32_t from, std::int32_t to, std::int32_t neighbour);
    void listChanged();

    std::vector<GridPoint> m_points;
    std::vector<Triangle> m_triangles;
    std::vector<std::int32_t> m_triangleOf;  // per vertex: a triangle around it, -1 once removed
    std::vector<std::int32_t> m_freeTriangles;
    // Triangles whose edges may no longer be Delaunay.
    std::vector<std::int32_t> m_toCheck;
    std::vector<std::int32_t> m_changed;
    Hole m_hole;

    // What the removal under way overwrote, to put back in reverse order.
    struct SavedTriangle {
        std::int32_t id;
        Triangle triangle;
    };
    bool m_saving = false;
    std::vector<SavedTriangle> m_savedTriangles;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_savedTriangleOf;
    std::size_t m_savedFreeCount = 0;
};

}  // namespace quarn
