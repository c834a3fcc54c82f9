#include "write_3df.h"

#include <algorithm>
#include <array>
#include <vector>

#include "encoded_output.h"
#include "tdf_format.h"

namespace quarn {

namespace {

std::uint8_t* PutTriangle(std::uint8_t* at, const Triangle& t) {
    for (const std::int32_t field : {t.a, t.b, t.c, t.colour})
        at = PutUint32(at, static_cast<std::uint32_t>(field));
    return at;
}

}  // namespace

void Format3DF(BinaryWriter& out, const TerrainMesh& mesh) {
    WriteTdfHeader(out);
    out.writeInt32(static_cast<std::int32_t>(mesh.vertices.size()));
    WriteEncoded(out, static_cast<std::int64_t>(mesh.vertices.size()), kVertexRecordSize,
                 [&](std::int64_t k, std::uint8_t* at) {
                     const Vertex v = mesh.fileVertex(static_cast<std::size_t>(k));
                     PutFloat(PutFloat(PutFloat(at, v.x), v.y), v.z);
                 });
    out.writeInt32(mesh.triangleCount());
    if (mesh.simplified()) {
        WriteEncoded(out, static_cast<std::int64_t>(mesh.triangles.size()), kTriangleRecordSize,
                     [&](std::int64_t t, std::uint8_t* at) {
                         PutTriangle(at, mesh.triangles[static_cast<std::size_t>(t)]);
                     });
        return;
    }
    // Each grid square gives its two triangles, in the order of ForEachTriangle.
    const std::int64_t squareCols = std::max(mesh.cols - 1, 0);
    const std::int64_t squares = squareCols * std::max(mesh.rows - 1, 0);
    WriteEncoded(out, squares, 2 * kTriangleRecordSize, [&](std::int64_t s, std::uint8_t* at) {
        const auto k = static_cast<std::int32_t>(s / squareCols * mesh.cols + s % squareCols);
        const auto [first, second] = SquareTriangles(mesh, k);
        PutTriangle(PutTriangle(at, first), second);
    });
}

}  // namespace quarn
