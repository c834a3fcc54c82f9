#include "write_ply.h"

#include <bit>
#include <vector>

#include "mesh_export.h"
#include "text_number.h"

namespace quarn {

namespace {

// Each vertex once for every height class of the triangles around it, so that readers of
// vertex colours only (Blender) colour the classes apart: the index of vertex k in class c is
// first[k] plus the classes of k below c.
struct ClassVertices {
    std::vector<std::uint8_t> classes;  // a bit per class
    std::vector<std::uint32_t> first;
    std::uint32_t count = 0;

    explicit ClassVertices(const TerrainMesh& mesh)
        : classes(mesh.vertices.size()), first(mesh.vertices.size()) {
        ForEachTriangle(mesh, [&](const Triangle& t) {
            const auto bit = static_cast<std::uint8_t>(1u << HeightClassIndex(t.colour));
            for (const std::int32_t corner : {t.a, t.b, t.c})
                classes[static_cast<std::size_t>(corner)] |= bit;
        });
        for (std::size_t k = 0; k < classes.size(); ++k) {
            first[k] = count;
            count += static_cast<std::uint32_t>(std::popcount(classes[k]));
        }
    }
    std::uint32_t index(std::int32_t corner, std::size_t heightClass) const {
        const auto k = static_cast<std::size_t>(corner);
        const auto below = static_cast<std::uint8_t>(classes[k] & ((1u << heightClass) - 1));
        return first[k] + static_cast<std::uint32_t>(std::popcount(below));
    }
};

void AppendColour(ChunkedOutput& chunks, const HeightClass& c) {
    for (const std::uint8_t level : {c.red, c.green, c.blue})
        chunks.appendUint8(level);
}

}  // namespace

void FormatPLY(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent) {
    const ClassVertices split(mesh);
    ChunkedOutput chunks(out);
    std::string& header = chunks.text();
    header =
        "ply\nformat binary_little_endian 1.0\n"
        "comment Quarn 3D terrain in map units: x east, y north, z height\n"
        "element vertex ";
    AppendNumber(header, static_cast<std::int32_t>(split.count));
    header +=
        "\nproperty float x\nproperty float y\nproperty float z\n"
        "property uchar red\nproperty uchar green\nproperty uchar blue\n"
        "element face ";
    AppendNumber(header, mesh.triangleCount());
    header +=
        "\nproperty list uchar int vertex_indices\n"
        "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n";
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
        const Vertex v = MapUnitVertex(mesh, k, mapExtent);
        for (std::size_t c = 0; c < kHeightClasses.size(); ++c)
            if (split.classes[k] & (1u << c)) {
                for (const float value : {v.x, v.y, v.z})
                    chunks.appendFloat(value);
                AppendColour(chunks, kHeightClasses[c]);
                chunks.done();
            }
    }
    ForEachTriangle(mesh, [&](const Triangle& t) {
        const std::size_t heightClass = HeightClassIndex(t.colour);
        chunks.appendUint8(3);
        for (const std::int32_t corner : UpwardCorners(t))
            chunks.appendUint32(split.index(corner, heightClass));
        AppendColour(chunks, kHeightClasses[heightClass]);
        chunks.done();
    });
    chunks.flush();
}

}  // namespace quarn
