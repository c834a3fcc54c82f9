#include "grid_triangulation.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>

namespace quarn {
namespace {

std::int64_t Cross(GridPoint a, GridPoint b, GridPoint r) {
    return std::int64_t(b.x - a.x) * (r.y - a.y) - std::int64_t(b.y - a.y) * (r.x - a.x);
}

// Whether d lies strictly inside the circle through a, b, c (in the grid's winding), by the
// circle's centre in exact rationals: |d - o|^2 < |a - o|^2 with o = (ox, oy) / (2 area).
bool StrictlyInCircle(GridPoint a, GridPoint b, GridPoint c, GridPoint d) {
    const std::int64_t bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
    const std::int64_t dx = d.x - a.x, dy = d.y - a.y;
    const std::int64_t area2 = bx * cy - by * cx;
    const std::int64_t ox = cy * (bx * bx + by * by) - by * (cx * cx + cy * cy);
    const std::int64_t oy = bx * (cx * cx + cy * cy) - cx * (bx * bx + by * by);
    return area2 * (dx * dx + dy * dy) < dx * ox + dy * oy;
}

// All triangles in the grid's winding, covering the width x height rectangle exactly once with
// every inner edge shared (as in adaptive_mesh_test), and no vertex strictly inside any
// triangle's circle.
void ExpectDelaunayCover(const GridTriangulation& mesh, std::int32_t width, std::int32_t height) {
    std::map<std::pair<std::int32_t, std::int32_t>, int> edges;
    std::int64_t doubledArea = 0;
    for (std::int32_t t = 0; t < std::int32_t(mesh.triangleIds()); ++t) {
        if (!mesh.isTriangle(t))
            continue;
        const auto [a, b, c] = mesh.corners(t);
        const std::int64_t area = Cross(mesh.point(a), mesh.point(b), mesh.point(c));
        ASSERT_GT(area, 0) << "triangle " << t;
        doubledArea += area;
        for (const auto& edge : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}})
            EXPECT_EQ(++edges[edge], 1);
        for (std::int32_t v = 0; v < std::int32_t(mesh.vertexIds()); ++v) {
            if (!mesh.isVertex(v))
                continue;
            EXPECT_FALSE(
                StrictlyInCircle(mesh.point(a), mesh.point(b), mesh.point(c), mesh.point(v)))
                << "vertex " << v << " in the circle of triangle " << t;
        }
    }
    EXPECT_EQ(doubledArea, 2 * std::int64_t(width - 1) * (height - 1));
    for (const auto& [edge, count] : edges) {
        const GridPoint u = mesh.point(edge.first), v = mesh.point(edge.second);
        const bool outline = (u.x == v.x && (u.x == 0 || u.x == width - 1)) ||
                             (u.y == v.y && (u.y == 0 || u.y == height - 1));
        EXPECT_TRUE(outline || edges.count({edge.second, edge.first}) == 1);
    }
}

// The triangle holding p, inside or on an edge.
std::int32_t Holding(const GridTriangulation& mesh, GridPoint p) {
    for (std::int32_t t = 0; t < std::int32_t(mesh.triangleIds()); ++t) {
        if (!mesh.isTriangle(t))
            continue;
        const auto [a, b, c] = mesh.corners(t);
        if (Cross(mesh.point(a), mesh.point(b), p) >= 0 &&
            Cross(mesh.point(b), mesh.point(c), p) >= 0 &&
            Cross(mesh.point(c), mesh.point(a), p) >= 0)
            return t;
    }
    return -1;
}

std::vector<std::array<std::int32_t, 3>> Triangles(const GridTriangulation& mesh) {
    std::vector<std::array<std::int32_t, 3>> all;
    for (std::int32_t t = 0; t < std::int32_t(mesh.triangleIds()); ++t)
        all.push_back(mesh.isTriangle(t) ? mesh.corners(t) : std::array{-1, -1, -1});
    return all;
}

// Random samples of a 30 x 20 grid, many of them on edges and on the outline, some on a
// common circle with others.
GridTriangulation Refined(std::size_t points) {
    constexpr std::int32_t kWidth = 30, kHeight = 20;
    GridTriangulation mesh(kWidth, kHeight);
    std::mt19937 random(7);
    std::vector<bool> taken(kWidth * kHeight);
    taken[0] = taken[kWidth - 1] = taken[kWidth * (kHeight - 1)] = taken[kWidth * kHeight - 1] =
        true;
    while (mesh.vertexIds() < points + 4) {
        const auto k = random() % (kWidth * kHeight);
        if (taken[k])
            continue;
        taken[k] = true;
        const GridPoint p{std::int32_t(k % kWidth), std::int32_t(k / kWidth)};
        const std::int32_t t = Holding(mesh, p);
        const std::size_t expected = mesh.triangleCount() + std::size_t(mesh.insertionGrowth(t, p));
        mesh.insert(t, p);
        EXPECT_EQ(mesh.triangleCount(), expected);
    }
    return mesh;
}

TEST(GridTriangulation, InsertionsKeepItADelaunayCover) {
    const GridTriangulation mesh = Refined(150);
    ExpectDelaunayCover(mesh, 30, 20);
}

// Every vertex but the corners can go; the hole is Delaunay again, and undoing a removal
// gives back the very triangles there were.
TEST(GridTriangulation, RemovalsKeepItADelaunayCoverAndUndoRestoresIt) {
    GridTriangulation mesh = Refined(150);
    for (std::int32_t corner = 0; corner < 4; ++corner)
        EXPECT_TRUE(mesh.planRemoval(corner).empty());
    for (std::int32_t v = 4; v < std::int32_t(mesh.vertexIds()); ++v) {
        ASSERT_FALSE(mesh.planRemoval(v).empty()) << v;
        const auto before = Triangles(mesh);
        const std::size_t count = mesh.triangleCount();
        mesh.removePlanned();
        EXPECT_FALSE(mesh.isVertex(v));
        if (v % 3 == 0) {
            mesh.undoRemoval();
            EXPECT_EQ(Triangles(mesh), before);
            EXPECT_TRUE(mesh.isVertex(v));
        } else {
            EXPECT_LT(mesh.triangleCount(), count);
        }
        ExpectDelaunayCover(mesh, 30, 20);
    }
}

}  // namespace
}  // namespace quarn
