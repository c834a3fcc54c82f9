#include "write_stl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "checked_float.h"
#include "encoded_output.h"
#include "mesh_export.h"

namespace quarn {

namespace {

using Point = std::array<float, 3>;

// Readers take a header that begins with "solid" for a text STL.
constexpr char kHeaderText[] = "Quarn 3D terrain, millimetres";
constexpr std::size_t kHeaderSize = 80;

constexpr std::int64_t kRecordSize = 50;

// One triangle record: the unit normal by the right-hand rule, the corners, no attribute.
std::uint8_t* PutFacet(std::uint8_t* at, const Point& a, const Point& b, const Point& c) {
    std::array<double, 3> u{}, v{};
    for (std::size_t i = 0; i < 3; ++i) {
        u[i] = double{b[i]} - a[i];
        v[i] = double{c[i]} - a[i];
    }
    const std::array<double, 3> n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                  u[0] * v[1] - u[1] * v[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (const double component : n)
        at = PutFloat(at, static_cast<float>(length > 0 ? component / length : 0));
    for (const Point* corner : {&a, &b, &c})
        for (const float value : *corner)
            at = PutFloat(at, value);
    at[0] = at[1] = 0;  // attribute byte count, 16 bits
    return at + 2;
}

// Every vertex in millimetres, computed once so that shared corners are bit-identical.
std::vector<Point> SurfacePoints(const TerrainMesh& mesh, const ExportOptions& options) {
    // The grid's corners are vertices of any mesh of it: the extremes are theirs.
    const auto [westmost, eastmost] = std::minmax_element(
        mesh.vertices.begin(), mesh.vertices.end(),
        [](const SampledVertex& p, const SampledVertex& q) { return p.x < q.x; });
    const auto [southmost, northmost] = std::minmax_element(
        mesh.vertices.begin(), mesh.vertices.end(),
        [](const SampledVertex& p, const SampledVertex& q) { return p.y < q.y; });
    const double west = westmost->x;
    const double south = southmost->y;
    const double width = eastmost->x - west;
    const double depth = northmost->y - south;
    const double mmPerUnit = CheckedDivide(options.printSizeMm, std::max(width, depth));
    // The plane spans 2 / MapExtent per map unit and h is height / MapExtent.
    const double mmPerH = 2 * mmPerUnit * options.exaggeration;
    const float lowest = std::min_element(mesh.vertices.begin(), mesh.vertices.end(),
                                          [](const auto& p, const auto& q) { return p.h < q.h; })
                             ->h;
    std::vector<Point> points;
    points.reserve(mesh.vertices.size());
    for (const SampledVertex& v : mesh.vertices)
        points.push_back({CheckedToFloat((v.x - west) * mmPerUnit),
                          CheckedToFloat((v.y - south) * mmPerUnit),
                          CheckedToFloat(options.baseMm + (double{v.h} - lowest) * mmPerH)});
    return points;
}

// The border vertices counter-clockwise seen from above, from the south-west corner.
std::vector<std::size_t> BorderLoop(std::size_t cols, std::size_t rows) {
    std::vector<std::size_t> loop;
    for (std::size_t j = 0; j + 1 < cols; ++j)
        loop.push_back((rows - 1) * cols + j);
    for (std::size_t i = rows - 1; i > 0; --i)
        loop.push_back(i * cols + cols - 1);
    for (std::size_t j = cols - 1; j > 0; --j)
        loop.push_back(j);
    for (std::size_t i = 0; i + 1 < rows; ++i)
        loop.push_back(i * cols);
    return loop;
}

// The simplified mesh's border vertices counter-clockwise seen from above, from the
// south-west corner, split at the four corners into the four sides (each from corner to corner).
std::array<std::vector<std::size_t>, 4> BorderSides(const TerrainMesh& mesh) {
    const std::int32_t cols = mesh.cols, rows = mesh.rows;
    std::array<std::vector<std::pair<std::int32_t, std::size_t>>, 4> sides;  // order key, vertex
    for (std::size_t v = 0; v < mesh.samples.size(); ++v) {
        const std::int32_t row = mesh.samples[v] / cols, col = mesh.samples[v] % cols;
        if (row == rows - 1)
            sides[0].emplace_back(col, v);  // south, west to east
        if (col == cols - 1)
            sides[1].emplace_back(rows - 1 - row, v);  // east, south to north
        if (row == 0)
            sides[2].emplace_back(cols - 1 - col, v);  // north, east to west
        if (col == 0)
            sides[3].emplace_back(row, v);  // west, north to south
    }
    std::array<std::vector<std::size_t>, 4> ordered;
    for (std::size_t s = 0; s < sides.size(); ++s) {
        std::sort(sides[s].begin(), sides[s].end());
        for (const auto& [key, v] : sides[s])
            ordered[s].push_back(v);
    }
    return ordered;
}

// A simplified solid: each wall is its side's top edges fanned from the side's first ground
// corner, so that its foot is one edge; the bottom is the rectangle's two triangles.
void FormatSimplifiedSTL(BinaryWriter& out, const TerrainMesh& mesh,
                         const std::vector<Point>& top) {
    const auto sides = BorderSides(mesh);
    std::uint64_t count = static_cast<std::uint64_t>(mesh.triangleCount()) + 2;
    for (const auto& side : sides)
        count += side.size();  // its edges and the foot triangle
    if (count > std::numeric_limits<std::uint32_t>::max())
        ThrowOverflow();
    out.writeInt32(static_cast<std::int32_t>(static_cast<std::uint32_t>(count)));
    std::array<std::uint8_t, kRecordSize> record{};
    const auto facet = [&](const Point& a, const Point& b, const Point& c) {
        PutFacet(record.data(), a, b, c);
        out.writeBytes(record);
    };
    ForEachTriangle(mesh, [&](const Triangle& t) {
        const auto [a, b, c] = UpwardCorners(t);
        facet(top[std::size_t(a)], top[std::size_t(b)], top[std::size_t(c)]);
    });
    const auto ground = [&top](std::size_t k) { return Point{top[k][0], top[k][1], 0.0f}; };
    for (const auto& side : sides) {
        const std::size_t first = side.front(), last = side.back();
        facet(ground(first), ground(last), top[last]);
        for (std::size_t n = side.size() - 1; n > 0; --n)
            facet(ground(first), top[side[n]], top[side[n - 1]]);
    }
    const Point southWest = ground(sides[0].front()), southEast = ground(sides[1].front()),
                northEast = ground(sides[2].front()), northWest = ground(sides[3].front());
    facet(southWest, northWest, northEast);
    facet(southWest, northEast, southEast);
}

}  // namespace

void FormatSTL(BinaryWriter& out, const TerrainMesh& mesh, const ExportOptions& options) {
    const std::vector<Point> top = SurfacePoints(mesh, options);
    if (mesh.simplified()) {
        std::array<std::uint8_t, kHeaderSize> header{};
        std::copy(std::begin(kHeaderText), std::end(kHeaderText) - 1, header.begin());
        out.writeBytes(header);
        FormatSimplifiedSTL(out, mesh, top);
        return;
    }
    const std::vector<std::size_t> border =
        BorderLoop(static_cast<std::size_t>(mesh.cols), static_cast<std::size_t>(mesh.rows));
    const std::uint64_t count =
        static_cast<std::uint64_t>(mesh.triangleCount()) + 3 * std::uint64_t{border.size()};
    if (count > std::numeric_limits<std::uint32_t>::max())
        ThrowOverflow();
    std::array<std::uint8_t, kHeaderSize> header{};
    std::copy(std::begin(kHeaderText), std::end(kHeaderText) - 1, header.begin());
    out.writeBytes(header);
    out.writeInt32(static_cast<std::int32_t>(static_cast<std::uint32_t>(count)));

    // The surface, each grid square's two triangles in the order of ForEachTriangle.
    const std::int64_t squareCols = std::max(mesh.cols - 1, 0);
    const std::int64_t squares = squareCols * std::max(mesh.rows - 1, 0);
    WriteEncoded(out, squares, 2 * kRecordSize, [&](std::int64_t s, std::uint8_t* at) {
        const auto k = static_cast<std::int32_t>(s / squareCols * mesh.cols + s % squareCols);
        for (const Triangle& t : SquareTriangles(mesh, k)) {
            const auto [a, b, c] = UpwardCorners(t);
            at = PutFacet(at, top[std::size_t(a)], top[std::size_t(b)], top[std::size_t(c)]);
        }
    });
    // The walls and the floor, three triangles per border edge.
    const auto ground = [&top](std::size_t k) { return Point{top[k][0], top[k][1], 0.0f}; };
    const Point& northEast = top[static_cast<std::size_t>(mesh.cols) - 1];
    const Point centre{northEast[0] / 2, northEast[1] / 2, 0.0f};
    WriteEncoded(out, std::int64_t(border.size()), 3 * kRecordSize,
                 [&](std::int64_t n, std::uint8_t* at) {
                     const std::size_t p = border[std::size_t(n)],
                                       q = border[(std::size_t(n) + 1) % border.size()];
                     at = PutFacet(at, ground(p), ground(q), top[q]);
                     at = PutFacet(at, ground(p), top[q], top[p]);
                     PutFacet(at, centre, ground(q), ground(p));
                 });
}

}  // namespace quarn
