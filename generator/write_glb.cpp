#include "write_glb.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

#include "mesh_export.h"
#include "platform_error.h"
#include "text_number.h"

namespace quarn {

namespace {

constexpr std::uint32_t kGlbMagic = 0x46546C67;  // "glTF"
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;
constexpr std::uint32_t kBinChunk = 0x004E4942;
constexpr int kFloatType = 5126, kUnsignedIntType = 5125;
constexpr int kVertexTarget = 34962, kIndexTarget = 34963;

// The float exactly, as a double: min and max must match the stored values bit for bit.
void AppendExact(std::string& json, float value) {
    std::array<char, 32> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<double>(value)).ptr;
    json.append(buffer.data(), end);
}

void AppendSize(std::string& json, std::uint64_t value) {
    std::array<char, 24> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    json.append(buffer.data(), end);
}

Vertex GltfVertex(const TerrainMesh& mesh, std::size_t k, float mapExtent) {
    const Vertex v = MapUnitVertex(mesh, k, mapExtent);
    return {v.x, v.z, -v.y};
}

struct Extent {
    std::array<float, 3> min, max;
};

Extent PositionExtent(const TerrainMesh& mesh, float mapExtent) {
    const Vertex first = GltfVertex(mesh, 0, mapExtent);
    Extent e{{first.x, first.y, first.z}, {first.x, first.y, first.z}};
    for (std::size_t k = 1; k < mesh.vertices.size(); ++k) {
        const Vertex v = GltfVertex(mesh, k, mapExtent);
        const std::array<float, 3> p{v.x, v.y, v.z};
        for (std::size_t i = 0; i < 3; ++i) {
            e.min[i] = std::min(e.min[i], p[i]);
            e.max[i] = std::max(e.max[i], p[i]);
        }
    }
    return e;
}

void AppendVector(std::string& json, const std::array<float, 3>& values) {
    json += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            json += ',';
        AppendExact(json, values[i]);
    }
    json += ']';
}

// One index accessor and one buffer view per class present, after the positions.
std::string GltfJson(const Extent& extent, std::size_t vertexCount,
                     const std::vector<std::size_t>& classes,
                     const std::array<std::uint64_t, 4>& indexCounts, std::uint64_t binLength) {
    std::string primitives, materials, accessors, views;
    const std::uint64_t positionBytes = 12 * std::uint64_t{vertexCount};
    accessors = R"({"bufferView":0,"componentType":)" + std::to_string(kFloatType) +
                R"(,"type":"VEC3","count":)";
    AppendSize(accessors, vertexCount);
    accessors += ",\"min\":";
    AppendVector(accessors, extent.min);
    accessors += ",\"max\":";
    AppendVector(accessors, extent.max);
    accessors += '}';
    views = R"({"buffer":0,"byteOffset":0,"byteLength":)";
    AppendSize(views, positionBytes);
    views += ",\"target\":" + std::to_string(kVertexTarget) + '}';
    std::uint64_t offset = positionBytes;
    for (std::size_t p = 0; p < classes.size(); ++p) {
        const HeightClass& c = kHeightClasses[classes[p]];
        const std::string index = std::to_string(p);
        const std::string view = std::to_string(p + 1);
        primitives += p > 0 ? "," : "";
        primitives += R"({"attributes":{"POSITION":0},"indices":)" + view +
                      ",\"material\":" + index + ",\"mode\":4}";
        materials += p > 0 ? "," : "";
        materials += R"({"name":")" + std::string(c.name) +
                     R"(","pbrMetallicRoughness":{"baseColorFactor":[)";
        for (const std::uint8_t level : {c.red, c.green, c.blue}) {
            AppendNumber(materials, static_cast<float>(level / 255.0));
            materials += ',';
        }
        materials += R"(1],"metallicFactor":0,"roughnessFactor":0.9}})";
        const std::uint64_t count = indexCounts[classes[p]];
        accessors += R"(,{"bufferView":)" + view +
                     ",\"componentType\":" + std::to_string(kUnsignedIntType) +
                     R"(,"type":"SCALAR","count":)";
        AppendSize(accessors, count);
        accessors += '}';
        views += R"(,{"buffer":0,"byteOffset":)";
        AppendSize(views, offset);
        views += ",\"byteLength\":";
        AppendSize(views, 4 * count);
        views += ",\"target\":" + std::to_string(kIndexTarget) + '}';
        offset += 4 * count;
    }
    std::string json = R"({"asset":{"version":"2.0","generator":"Quarn 3D"},"scene":0,)"
                       R"("scenes":[{"nodes":[0]}],"nodes":[{"name":"terrain","mesh":0}],)"
                       R"("meshes":[{"name":"terrain","primitives":[)" +
                       primitives + "]}],\"materials\":[" + materials + "],\"accessors\":[" +
                       accessors + "],\"bufferViews\":[" + views +
                       "],\"buffers\":[{\"byteLength\":";
    AppendSize(json, binLength);
    json += "}]}";
    return json;
}

}  // namespace

void FormatGLB(BinaryWriter& out, const TerrainMesh& mesh, float mapExtent) {
    std::array<std::uint64_t, 4> indexCounts{};
    ForEachTriangle(mesh, [&](const Triangle& t) { indexCounts[HeightClassIndex(t.colour)] += 3; });
    std::vector<std::size_t> classes;
    std::uint64_t binLength = 12 * std::uint64_t{mesh.vertices.size()};
    for (std::size_t c = 0; c < indexCounts.size(); ++c) {
        if (indexCounts[c] > 0)
            classes.push_back(c);
        binLength += 4 * indexCounts[c];
    }
    std::string json = GltfJson(PositionExtent(mesh, mapExtent), mesh.vertices.size(), classes,
                                indexCounts, binLength);
    json.append((4 - json.size() % 4) % 4, ' ');

    const std::uint64_t fileLength = 12 + 8 + json.size() + 8 + binLength;
    // The container counts its bytes in 32 bits.
    if (fileLength > std::numeric_limits<std::uint32_t>::max())
        throw PlatformError(kGlbTooLargeText);

    ChunkedOutput chunks(out);
    chunks.appendUint32(kGlbMagic);
    chunks.appendUint32(2);
    chunks.appendUint32(static_cast<std::uint32_t>(fileLength));
    chunks.appendUint32(static_cast<std::uint32_t>(json.size()));
    chunks.appendUint32(kJsonChunk);
    chunks.text() += json;
    chunks.appendUint32(static_cast<std::uint32_t>(binLength));
    chunks.appendUint32(kBinChunk);
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
        const Vertex v = GltfVertex(mesh, k, mapExtent);
        for (const float value : {v.x, v.y, v.z})
            chunks.appendFloat(value);
        chunks.done();
    }
    for (const std::size_t c : classes) {
        ForEachTriangle(mesh, [&](const Triangle& t) {
            if (HeightClassIndex(t.colour) != c)
                return;
            for (const std::int32_t corner : UpwardCorners(t))
                chunks.appendUint32(static_cast<std::uint32_t>(corner));
            chunks.done();
        });
    }
    chunks.flush();
}

}  // namespace quarn
