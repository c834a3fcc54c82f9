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
    const auto cols = static_cast<std::size_t>(mesh.cols);
    const SampledVertex& northWest = mesh.vertices.front();
    const double west = northWest.x;
    const double south = mesh.vertices[mesh.vertices.size() - cols].y;
    const double width = mesh.vertices[cols - 1].x - west;
    const double depth = northWest.y - south;
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

}  // namespace

void FormatSTL(BinaryWriter& out, const TerrainMesh& mesh, const ExportOptions& options) {
    const std::vector<Point> top = SurfacePoints(mesh, options);
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
