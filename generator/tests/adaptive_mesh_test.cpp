#include "adaptive_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <utility>

namespace quarn {
namespace {

struct Terrain {
    std::int32_t cols = 0, rows = 0;
    std::vector<float> heights;

    HeightGrid grid() const { return {cols, rows, heights}; }
};

Terrain Sampled(std::int32_t cols, std::int32_t rows,
                const std::function<float(std::int32_t x, std::int32_t y)>& height) {
    Terrain t{cols, rows, {}};
    for (std::int32_t y = 0; y < rows; ++y)
        for (std::int32_t x = 0; x < cols; ++x)
            t.heights.push_back(height(x, y));
    return t;
}

// Heights of 0..1023 quarters from a fixed seed: no three samples in a row on one plane.
Terrain Rough(std::int32_t cols, std::int32_t rows) {
    std::mt19937 random(20240611);
    return Sampled(cols, rows, [&](std::int32_t, std::int32_t) {
        return static_cast<float>(random() % 4096) / 4;
    });
}

// Four flat levels 10 apart, as rings of steps around a hill off the centre.
Terrain Terraces(std::int32_t cols, std::int32_t rows) {
    return Sampled(cols, rows, [&](std::int32_t x, std::int32_t y) {
        const double r = std::hypot(x - 0.4 * cols, y - 0.55 * rows) / (0.5 * rows);
        return 10 * static_cast<float>(std::max(0.0, std::floor(4 * (1 - r))));
    });
}

std::int64_t Cross(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by,
                   std::int64_t rx, std::int64_t ry) {
    return (bx - ax) * (ry - ay) - (by - ay) * (rx - ax);
}

// Checks the mesh against the grid without trusting how it was made: every triangle in the
// grid's winding, each inner edge shared by exactly one triangle on the other side, the others
// on the outline, the areas adding up to the rectangle's (together: the triangles cover it
// exactly once); every sample under a triangle. Returns the largest error, by the barycentric
// mean over each triangle that holds the sample.
double AuditedError(const Terrain& terrain, const AdaptiveMesh& mesh) {
    const std::int64_t cols = terrain.cols, rows = terrain.rows;
    const auto x = [&](std::int32_t v) {
        return std::int64_t(mesh.samples[std::size_t(v)]) % cols;
    };
    const auto y = [&](std::int32_t v) {
        return std::int64_t(mesh.samples[std::size_t(v)]) / cols;
    };
    for (const std::int64_t corner :
         {std::int64_t(0), cols - 1, (rows - 1) * cols, rows * cols - 1})
        EXPECT_TRUE(std::count(mesh.samples.begin(), mesh.samples.end(), corner) == 1) << corner;

    std::map<std::pair<std::int32_t, std::int32_t>, int> edges;
    std::int64_t doubledArea = 0;
    std::vector<bool> covered(terrain.heights.size());
    double largest = 0;
    for (const auto& [a, b, c] : mesh.triangles) {
        const std::int64_t area = Cross(x(a), y(a), x(b), y(b), x(c), y(c));
        EXPECT_GT(area, 0) << "winding of " << a << ' ' << b << ' ' << c;
        doubledArea += area;
        for (const auto& edge : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}})
            ++edges[edge];
        const auto z = [&](std::int32_t v) {
            return double(terrain.heights[std::size_t(mesh.samples[std::size_t(v)])]);
        };
        for (std::int64_t py = std::min({y(a), y(b), y(c)}); py <= std::max({y(a), y(b), y(c)});
             ++py)
            for (std::int64_t px = std::min({x(a), x(b), x(c)}); px <= std::max({x(a), x(b), x(c)});
                 ++px) {
                const double wa = double(Cross(x(b), y(b), x(c), y(c), px, py));
                const double wb = double(Cross(x(c), y(c), x(a), y(a), px, py));
                const double wc = double(Cross(x(a), y(a), x(b), y(b), px, py));
                if (wa < 0 || wb < 0 || wc < 0)
                    continue;
                const std::size_t k = std::size_t(py * cols + px);
                const double d = wa + wb + wc;
                const double error =
                    std::fabs(wa * z(a) + wb * z(b) + wc * z(c) - d * double(terrain.heights[k])) /
                    d;
                largest = std::max(largest, error);
                covered[k] = true;
            }
    }
    EXPECT_EQ(doubledArea, 2 * (cols - 1) * (rows - 1));
    for (const auto& [edge, count] : edges) {
        const auto [u, v] = edge;
        const bool outline = (x(u) == x(v) && (x(u) == 0 || x(u) == cols - 1)) ||
                             (y(u) == y(v) && (y(u) == 0 || y(u) == rows - 1));
        EXPECT_EQ(count, 1) << "edge " << u << ' ' << v;
        EXPECT_TRUE(outline || edges.count({v, u}) == 1) << "edge " << u << ' ' << v;
    }
    EXPECT_TRUE(std::all_of(covered.begin(), covered.end(), [](bool b) { return b; }));
    return largest;
}

struct Case {
    const char* name;
    Terrain terrain;
    double maxError;
    std::size_t budget;
    std::size_t mostTriangles;  // what a good triangulation needs at most
};

// The bound holds exactly at every sample, the mesh reports its largest error as measured
// independently, and flat or planar ground collapses.
TEST(SimplifyGrid, StaysWithinTheBoundAtEverySampleWithFewTriangles) {
    const Case cases[] = {
        {"2 x 2", Rough(2, 2), 0, 0, 2},
        {"single band", Sampled(50, 30, [](auto, auto) { return 7.25f; }), 0, 0, 2},
        {"ramp",
         Sampled(
             64, 48,
             [](std::int32_t x, std::int32_t y) { return 0.5f * float(x) - 0.25f * float(y) + 3; }),
         0, 0, 2},
        {"terraces", Terraces(200, 150), 0, 0, 800},
        {"cone within 0.5",
         Sampled(
             101, 101,
             [](std::int32_t x, std::int32_t y) { return float(50 - std::hypot(x - 50, y - 50)); }),
         0.5, 0, 150},
        {"cone exact",
         Sampled(
             41, 41,
             [](std::int32_t x, std::int32_t y) { return float(20 - std::hypot(x - 20, y - 20)); }),
         0, 0, 2 * 40 * 40},
        // Heights within 10 of 0 over a grid wide enough for several seed vertices, all of
        // which go again.
        {"bound above the relief",
         Sampled(300, 200,
                 [](std::int32_t x, std::int32_t y) {
                     return float(10 * std::sin(0.05 * x) * std::cos(0.07 * y));
                 }),
         25, 0, 2},
        // Every sample off its neighbours' plane: all must be vertices, and any triangulation
        // of them has the full grid's count.
        {"rough", Rough(17, 13), 0, 0, 2 * 16 * 12},
        {"rough within a budget", Rough(60, 40), 0, 500, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AdaptiveMesh mesh = SimplifyGrid(c.terrain.grid(), c.maxError, c.budget);
        const double error = AuditedError(c.terrain, mesh);
        EXPECT_EQ(error, mesh.largestError);
        EXPECT_LE(mesh.triangles.size(), c.mostTriangles);
        if (c.budget == 0)
            EXPECT_LE(error, c.maxError);
        else
            EXPECT_GE(mesh.triangles.size() + 1, c.budget) << "stopped short of the budget";
    }
}

// A tighter budget can only leave a larger error; a looser bound only fewer triangles.
TEST(SimplifyGrid, BudgetAndBoundTradeErrorForTriangles) {
    const Terrain terrain = Terraces(80, 60);
    double lastError = 1e300;
    for (const std::size_t budget : {2u, 20u, 200u, 2000u}) {
        const AdaptiveMesh mesh = SimplifyGrid(terrain.grid(), 0, budget);
        EXPECT_LE(mesh.triangles.size(), budget);
        EXPECT_LE(mesh.largestError, lastError) << budget;
        lastError = mesh.largestError;
    }
    std::size_t lastCount = 0;
    for (const double bound : {15.0, 5.0, 1.0, 0.0}) {
        const AdaptiveMesh mesh = SimplifyGrid(terrain.grid(), bound, 0);
        EXPECT_GE(mesh.triangles.size(), lastCount) << bound;
        lastCount = mesh.triangles.size();
    }
}

TEST(SimplifyGrid, SameGridGivesTheSameMesh) {
    for (const Terrain& terrain : {Terraces(90, 70), Rough(40, 30)}) {
        const AdaptiveMesh first = SimplifyGrid(terrain.grid(), 0.5, 0);
        const AdaptiveMesh again = SimplifyGrid(terrain.grid(), 0.5, 0);
        EXPECT_EQ(first.samples, again.samples);
        EXPECT_EQ(first.triangles, again.triangles);
    }
}

TEST(SimplifyGrid, GridsWithoutAreaGiveAnEmptyMesh) {
    for (const Terrain& line : {Rough(1, 5), Rough(6, 1), Rough(0, 0)}) {
        const AdaptiveMesh mesh = SimplifyGrid(line.grid(), 0, 0);
        EXPECT_TRUE(mesh.samples.empty());
        EXPECT_TRUE(mesh.triangles.empty());
    }
}

// Refused before anything is read: no bound to meet, or heights that do not match the grid.
TEST(SimplifyGrid, RefusesANegativeBoundAndMismatchedHeights) {
    const Terrain terrain = Rough(4, 3);
    EXPECT_THROW(SimplifyGrid(terrain.grid(), -1, 0), std::invalid_argument);
    EXPECT_THROW(SimplifyGrid(terrain.grid(), std::nan(""), 0), std::invalid_argument);
    EXPECT_THROW(SimplifyGrid({5, 3, terrain.heights}, 0, 0), std::invalid_argument);
}

}  // namespace
}  // namespace quarn
