#include "scene_reader.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <span>
#include <utility>

#include "bounding_box.h"
#include "checked_float.h"
#include "parallel.h"
#include "platform_error.h"
#include "show_error.h"

namespace quarn {

namespace {

constexpr double kNearZero = 1e-9;

float DiagonalSquared(const BoundingBox& box) {
    const double dx = double(box.max.x) - double(box.min.x);
    const double dy = double(box.max.y) - double(box.min.y);
    const double dz = double(box.max.z) - double(box.min.z);
    return CheckedToFloat(dx * dx + dy * dy + dz * dz);
}

Vertex DecodeVertex(const std::uint8_t* at) {
    return {GetFloat(at), GetFloat(at + 4), GetFloat(at + 8)};
}

Triangle DecodeTriangle(const std::uint8_t* at) {
    return {GetInt32(at), GetInt32(at + 4), GetInt32(at + 8), GetInt32(at + 12)};
}

// Bytes read at a time: few system calls, and a block that stays in the cache while its
// records are decoded.
constexpr std::size_t kBlockBytes = std::size_t{1} << 18;

// Reads count records of recordSize bytes onto the end of out, a block at a time, each decoded
// field by field; false when the file ended first, out then ending with the whole records
// before the gap.
template <typename Record, std::size_t recordSize, Record (*Decode)(const std::uint8_t*)>
bool ReadRecords(BinaryReader& in, std::int32_t count, std::optional<std::uint64_t> bytesLeft,
                 std::vector<Record>& out) {
    const std::size_t blockRecords = kBlockBytes / recordSize;
    auto left = std::size_t(std::max(count, 0));
    // The count alone is not trusted with memory; the file's size is.
    if (bytesLeft)
        out.reserve(out.size() + std::min<std::uint64_t>(left, *bytesLeft / recordSize));
    std::vector<std::uint8_t> block(std::min(left, blockRecords) * recordSize);
    while (left > 0) {
        const std::size_t wanted = std::min(left, blockRecords);
        const std::size_t got =
            in.readAvailable(std::span(block).first(wanted * recordSize)) / recordSize;
        const std::size_t old = out.size();
        out.resize(old + got);
        Record* to = out.data() + old;
        const std::uint8_t* at = block.data();
        for (std::size_t i = 0; i < got; ++i, at += recordSize)
            to[i] = Decode(at);
        if (got < wanted)
            return false;
        left -= wanted;
    }
    return true;
}

// The box of the vertices, widened in file order; a coordinate that is not finite is a fault.
BoundingBox MeasureVertices(std::span<const Vertex> vertices) {
    constexpr std::size_t kPerWorker = 1 << 16;
    std::vector<BoundingBox> boxes(ChunkCount(vertices.size(), kPerWorker));
    std::vector<std::uint8_t> finite(boxes.size(), 1);
    ParallelChunks(vertices.size(), kPerWorker,
                   [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                       BoundingBox box;
                       float probe = 0;
                       for (std::size_t i = begin; i < end; ++i) {
                           const Vertex& v = vertices[i];
                           probe += 0.0f * v.x + 0.0f * v.y + 0.0f * v.z;
                           box.max.x = v.x > box.max.x ? v.x : box.max.x;
                           box.min.x = v.x < box.min.x ? v.x : box.min.x;
                           box.max.y = v.y > box.max.y ? v.y : box.max.y;
                           box.min.y = v.y < box.min.y ? v.y : box.min.y;
                           box.max.z = v.z > box.max.z ? v.z : box.max.z;
                           box.min.z = v.z < box.min.z ? v.z : box.min.z;
                       }
                       boxes[chunk] = box;
                       finite[chunk] = probe == 0.0f;
                   });
    BoundingBox box;
    for (std::size_t chunk = 0; chunk < boxes.size(); ++chunk) {
        if (!finite[chunk])
            ThrowInvalidOperation();
        box.widen(boxes[chunk]);
    }
    return box;
}

// The first triangle naming a vertex that does not exist (triangles.size() when none), with
// the vertices used by the triangles before it marked.
std::size_t CheckCorners(std::span<const Triangle> triangles, std::size_t vertices,
                         std::vector<std::uint8_t>& used) {
    constexpr std::size_t kPerWorker = 1 << 16;
    std::vector<std::size_t> firstBad(ChunkCount(triangles.size(), kPerWorker), triangles.size());
    ParallelChunks(triangles.size(), kPerWorker,
                   [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                       for (std::size_t i = begin; i < end; ++i) {
                           const Triangle& t = triangles[i];
                           if (std::uint32_t(t.a) >= vertices || std::uint32_t(t.b) >= vertices ||
                               std::uint32_t(t.c) >= vertices) {
                               firstBad[chunk] = i;
                               break;
                           }
                           for (const std::int32_t corner : {t.a, t.b, t.c})
                               std::atomic_ref<std::uint8_t>(used[std::size_t(corner)])
                                   .store(1, std::memory_order_relaxed);
                       }
                   });
    return *std::min_element(firstBad.begin(), firstBad.end());
}

}  // namespace

SceneFile::SceneFile(std::unique_ptr<std::istream> stream)
    : m_stream(std::move(stream)), m_reader(*m_stream) {}

BinaryReader& SceneFile::reader() {
    if (!m_stream)
        throw PlatformError("File not open");
    return m_reader;
}

std::optional<std::uint64_t> SceneFile::bytesLeft() {
    if (!m_stream)
        return std::nullopt;
    std::istream& in = *m_stream;
    const std::istream::pos_type here = in.tellg();
    if (here == std::istream::pos_type(-1) || !in.seekg(0, std::ios::end))
        return std::nullopt;
    const std::istream::pos_type end = in.tellg();
    in.seekg(here);
    if (end < here)
        return std::nullopt;
    return std::uint64_t(end - here);
}

SceneFile SceneFile::Open(const std::string& fileName) {
    return SceneFile(OpenBinaryInput(fileName));
}

float UpdatedPerspectiveDistance(float d, float diagonalSquared) {
    if (!(d < -kNearZero))
        return d;
    const double old = d;
    const double factor = 1.0 + CheckedDivide(0.25, old * old);
    return CheckedToFloat(-(100.0 / 99.0) * std::sqrt(factor * double(diagonalSquared)));
}

std::optional<SceneVertices> ReadVertices(SceneFile& file) {
    BinaryReader& in = file.reader();
    std::array<std::uint8_t, 3> header{};
    in.readBytes(header);  // any three bytes will do
    const std::int32_t count = in.readInt32();
    if (count == 0) {
        file.close();
        Show_Error("Invalid file!");
        return std::nullopt;
    }
    SceneVertices read;
    const bool whole = ReadRecords<Vertex, kVertexRecordSize, DecodeVertex>(
        in, count, file.bytesLeft(), read.vertices);
    const BoundingBox box = MeasureVertices(read.vertices);
    if (!whole)
        throw PlatformError("Read beyond end of file");
    read.diagonalSquared = DiagonalSquared(box);
    return read;
}

std::optional<float> PerspectiveDistanceAfterLoad(SceneFile& file, float d, float diagonalSquared) {
    const float updated = UpdatedPerspectiveDistance(d, diagonalSquared);
    if (!(std::fabs(double(updated)) < kNearZero))
        return updated;
    file.close();
    Show_Error(kDivisionByZeroText);
    return std::nullopt;
}

bool ReadTriangles(SceneFile& file, std::vector<Vertex> vertices, Scene& scene) {
    BinaryReader& in = file.reader();
    const std::int32_t count = in.readInt32();
    if (count == 0) {
        file.close();
        Show_Error("Invalid file!");
        return false;
    }
    scene = Scene();  // the memory of the scene before goes back first
    const std::size_t vertexCount = vertices.size();
    scene.setVertices(std::move(vertices));
    std::vector<Triangle> triangles;
    const bool whole = ReadRecords<Triangle, kTriangleRecordSize, DecodeTriangle>(
        in, count, file.bytesLeft(), triangles);
    std::vector<std::uint8_t> used(vertexCount, 0);
    const std::size_t read = triangles.size();
    const std::size_t valid = CheckCorners(triangles, vertexCount, used);
    const bool complete = whole && valid == read;
    triangles.resize(valid);
    scene.setTriangles(std::move(triangles));
    // The scene keeps only the vertices its triangles use, also when a fault ends the load.
    if (!complete || std::find(used.begin(), used.end(), 0) != used.end())
        scene.dropUnusedVertices();
    if (valid < read)
        throw PlatformError("List index out of bounds");
    if (!whole)
        throw PlatformError("Read beyond end of file");
    file.close();
    return true;
}

std::optional<LoadedScene> ReadScene(SceneFile file, float d) {
    std::optional<SceneVertices> read = ReadVertices(file);
    if (!read)
        return std::nullopt;
    const std::optional<float> distance =
        PerspectiveDistanceAfterLoad(file, d, read->diagonalSquared);
    if (!distance)
        return std::nullopt;
    LoadedScene loaded;
    loaded.perspectiveDistance = *distance;
    if (!ReadTriangles(file, std::move(read->vertices), loaded.scene))
        return std::nullopt;
    return loaded;
}

std::optional<LoadedScene> SceneOfRecords(std::vector<Vertex> vertices,
                                          std::vector<Triangle> triangles, float d) {
    const float updated = UpdatedPerspectiveDistance(d, DiagonalSquared(MeasureVertices(vertices)));
    if (std::fabs(double(updated)) < kNearZero) {
        Show_Error(kDivisionByZeroText);
        return std::nullopt;
    }
    LoadedScene loaded;
    loaded.perspectiveDistance = updated;
    loaded.scene.setVertices(std::move(vertices));
    loaded.scene.setTriangles(std::move(triangles));
    return loaded;
}

}  // namespace quarn
