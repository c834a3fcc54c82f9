#include "write_ply.h"

#include "mesh_export.h"
#include "text_number.h"

namespace quarn {

void FormatPLY(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent) {
    ChunkedOutput chunks(out);
    std::string& header = chunks.text();
    header =
        "ply\nformat binary_little_endian 1.0\n"
        "comment Quarn 3D terrain in map units: x east, y north, z height\n"
        "element vertex ";
    AppendNumber(header, static_cast<std::int32_t>(mesh.vertices.size()));
    header +=
        "\nproperty float x\nproperty float y\nproperty float z\n"
        "element face ";
    AppendNumber(header, mesh.triangleCount());
    header +=
        "\nproperty list uchar int vertex_indices\n"
        "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n";
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
        const Vertex v = MapUnitVertex(mesh, k, mapExtent);
        for (const float value : {v.x, v.y, v.z})
            chunks.appendFloat(value);
        chunks.done();
    }
    ForEachTriangle(mesh, [&](const Triangle& t) {
        chunks.appendUint8(3);
        for (const std::int32_t corner : UpwardCorners(t))
            chunks.appendUint32(static_cast<std::uint32_t>(corner));
        const HeightClass& c = kHeightClasses[HeightClassIndex(t.colour)];
        for (const std::uint8_t level : {c.red, c.green, c.blue})
            chunks.appendUint8(level);
        chunks.done();
    });
    chunks.flush();
}

}  // namespace quarn
