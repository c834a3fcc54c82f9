#include "scene_reader.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <optional>
#include <span>
#include <type_traits>

#include "bounding_box.h"
#include "checked_float.h"
#include "parallel.h"
#include "platform_error.h"
#include "scene.h"
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

void ShowCurrentAngles(AngleDisplay& display) {
    if (AngleMode == AnglePair::Observer)
        display.showAngles(ObserverElevation, ObserverAzimuth);
    else
        display.showAngles(SunElevation, SunAzimuth);
}

// The records are read straight into their structs, whose members are the records' 32-bit
// fields in file order; the words are then put into this machine's byte order.
static_assert(sizeof(Vertex) == kVertexRecordSize && std::is_trivially_copyable_v<Vertex>);
static_assert(sizeof(Triangle) == kTriangleRecordSize && std::is_trivially_copyable_v<Triangle>);

template <typename Record>
void FromLittleEndian(std::span<Record> records) {
    if constexpr (std::endian::native == std::endian::big) {
        const auto bytes = std::as_writable_bytes(records);
        for (std::size_t i = 0; i < bytes.size(); i += 4) {
            std::swap(bytes[i], bytes[i + 3]);
            std::swap(bytes[i + 1], bytes[i + 2]);
        }
    }
}

// Reads count records onto the end of out, a large block at a time; false when the file ended
// first, out then ending with the whole records before the gap.
template <typename Record>
bool ReadRecords(BinaryReader& in, std::int32_t count, std::optional<std::uint64_t> bytesLeft,
                 std::vector<Record>& out) {
    constexpr std::size_t kBlockRecords = (std::size_t{8} << 20) / sizeof(Record);
    auto left = std::size_t(std::max(count, 0));
    // The count alone is not trusted with memory; the file's size is.
    if (bytesLeft)
        out.reserve(out.size() + std::min<std::uint64_t>(left, *bytesLeft / sizeof(Record)));
    while (left > 0) {
        const std::size_t wanted = std::min(left, kBlockRecords), old = out.size();
        out.resize(old + wanted);
        const auto bytes = std::as_writable_bytes(std::span(out).subspan(old));
        const std::size_t got = in.readAvailable(
            std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
        out.resize(old + got / sizeof(Record));
        FromLittleEndian(std::span(out).subspan(old));
        if (got < bytes.size())
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

bool Read_Points(SceneLoad& load, AngleDisplay& display) {
    BinaryReader& in = load.file.reader();
    std::array<std::uint8_t, 3> header{};
    in.readBytes(header);  // any three bytes will do
    const std::int32_t count = in.readInt32();
    if (count == 0) {
        load.file.close();
        Show_Error("Invalid file!");
        return false;
    }
    load.vertices.clear();
    const bool whole = ReadRecords(in, count, load.file.bytesLeft(), load.vertices);
    const BoundingBox box = MeasureVertices(load.vertices);
    if (!whole)
        throw PlatformError("Read beyond end of file");
    bool ok = true;
    const float d = UpdatedPerspectiveDistance(PerspectiveDistance, DiagonalSquared(box));
    if (std::fabs(double(d)) < kNearZero) {
        // The distance of before stays, so one degenerate file does not refuse every later load.
        ok = false;
        load.file.close();
        Show_Error("Division by zero!");
        load.vertices.clear();
    } else {
        PerspectiveDistance = d;
    }
    ResetViewAngles();
    ShowCurrentAngles(display);
    return ok;
}

bool Read_Triangles(SceneLoad& load) {
    BinaryReader& in = load.file.reader();
    const std::int32_t count = in.readInt32();
    if (count == 0) {
        load.file.close();
        Show_Error("Invalid file!");
        load.vertices.clear();
        return false;
    }
    ClearScene();
    const std::size_t vertexCount = load.vertices.size();
    TriangleList.setVertices(std::move(load.vertices));
    load.vertices = {};
    std::vector<Triangle> triangles;
    const bool whole = ReadRecords(in, count, load.file.bytesLeft(), triangles);
    std::vector<std::uint8_t> used(vertexCount, 0);
    const std::size_t read = triangles.size();
    const std::size_t valid = CheckCorners(triangles, vertexCount, used);
    const bool complete = whole && valid == read;
    triangles.resize(valid);
    TriangleList.setTriangles(std::move(triangles));
    // The scene keeps only the vertices its triangles use, also when a fault ends the load.
    if (!complete || std::find(used.begin(), used.end(), 0) != used.end())
        TriangleList.dropUnusedVertices();
    if (valid < read)
        throw PlatformError("List index out of bounds");
    if (!whole)
        throw PlatformError("Read beyond end of file");
    load.file.close();
    return true;
}

}  // namespace quarn
