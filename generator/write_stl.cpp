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
#include "print_solid.h"

namespace quarn {

namespace {

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

void FormatSTLSolid(BinaryWriter& out, std::span<const Point> vertices,
                    std::span<const std::array<std::size_t, 3>> triangles) {
    std::array<std::uint8_t, kHeaderSize> header{};
    std::copy(std::begin(kHeaderText), std::end(kHeaderText) - 1, header.begin());
    out.writeBytes(header);
    if (triangles.size() > std::numeric_limits<std::uint32_t>::max())
        ThrowOverflow();
    out.writeInt32(static_cast<std::int32_t>(static_cast<std::uint32_t>(triangles.size())));
    WriteEncoded(out, std::int64_t(triangles.size()), kRecordSize,
                 [&](std::int64_t n, std::uint8_t* at) {
                     const auto& [a, b, c] = triangles[std::size_t(n)];
                     PutFacet(at, vertices[a], vertices[b], vertices[c]);
                 });
}

}  // namespace quarn
