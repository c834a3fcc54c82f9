#include "scene_reader.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

#include "bounding_box.h"
#include "checked_float.h"
#include "platform_error.h"
#include "scene.h"
#include "show_error.h"

namespace quarn {

namespace {

constexpr double kNearZero = 1e-9;

// A NaN would compare false everywhere and slip through the box silently, and an infinity
// would turn the perspective distance into one: neither is a coordinate.
void WidenChecked(BoundingBox& box, const Vertex& v) {
    CheckFinite(v.x);
    CheckFinite(v.y);
    CheckFinite(v.z);
    box.widen({v.x, v.y, v.z});
}

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

std::uint32_t Little32(const std::uint8_t* bytes) {
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big)
        value =
            (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
    return value;
}

// Reads count records of recordSize bytes a large block at a time and hands each block's
// records to consume(bytes, records). A file that ends early hands over the whole records
// before the gap, then raises "Read beyond end of file", as reading record by record would.
template <typename Consume>
void ReadRecords(BinaryReader& in, std::int32_t count, std::size_t recordSize, Consume consume) {
    constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    const std::size_t perBlock = kBlockBytes / recordSize;
    std::vector<std::uint8_t> block(std::min(std::size_t(std::max(count, 0)), perBlock) *
                                    recordSize);
    for (std::size_t left = std::size_t(std::max(count, 0)); left > 0;) {
        const std::size_t wanted = std::min(left, perBlock);
        const std::size_t got = in.readAvailable(std::span(block.data(), wanted * recordSize));
        consume(block.data(), got / recordSize);
        if (got < wanted * recordSize)
            throw PlatformError("Read beyond end of file");
        left -= wanted;
    }
}

// Which vertices the triangles read so far use.
class VertexUse {
  public:
    explicit VertexUse(std::size_t vertices) : m_used(vertices, 0) {}
    // The triangle's indices all name vertices; marks them.
    bool take(const Triangle& t) {
        const std::size_t n = m_used.size();
        if (std::uint32_t(t.a) >= n || std::uint32_t(t.b) >= n || std::uint32_t(t.c) >= n)
            return false;
        mark(t.a), mark(t.b), mark(t.c);
        return true;
    }
    bool all() const { return m_count == m_used.size(); }

  private:
    void mark(std::int32_t index) {
        std::uint8_t& used = m_used[std::size_t(index)];
        m_count += used ^ 1u;
        used = 1;
    }
    std::vector<std::uint8_t> m_used;
    std::size_t m_count = 0;
};

// Appends the triangles of a block up to the first one naming a vertex that does not exist,
// which ends the load with the list's error.
void AppendTriangles(const std::uint8_t* bytes, std::size_t records, VertexUse& use,
                     std::vector<Triangle>& decoded) {
    decoded.resize(records);
    std::size_t valid = 0;
    for (; valid < records; ++valid, bytes += kTriangleRecordSize) {
        Triangle& t = decoded[valid];
        t.a = std::int32_t(Little32(bytes));
        t.b = std::int32_t(Little32(bytes + 4));
        t.c = std::int32_t(Little32(bytes + 8));
        t.colour = std::int32_t(Little32(bytes + 12));
        if (!use.take(t))
            break;
    }
    TriangleList.appendTriangles(std::span(decoded.data(), valid));
    if (valid < records)
        throw PlatformError("List index out of bounds");
}

}  // namespace

SceneFile::SceneFile(std::unique_ptr<std::istream> stream)
    : m_stream(std::move(stream)), m_reader(*m_stream) {}

BinaryReader& SceneFile::reader() {
    if (!m_stream)
        throw PlatformError("File not open");
    return m_reader;
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
    BoundingBox box;
    load.vertices.clear();
    ReadRecords(in, count, kVertexRecordSize, [&](const std::uint8_t* bytes, std::size_t records) {
        for (std::size_t i = 0; i < records; ++i, bytes += kVertexRecordSize) {
            const Vertex v{std::bit_cast<float>(Little32(bytes)),
                           std::bit_cast<float>(Little32(bytes + 4)),
                           std::bit_cast<float>(Little32(bytes + 8))};
            WidenChecked(box, v);
            load.vertices.push_back(v);
        }
    });
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
    VertexUse use(load.vertices.size());
    TriangleList.setVertices(std::move(load.vertices));
    load.vertices = {};
    // The scene keeps only the vertices its triangles use, also when a fault ends the load.
    const auto keepUsedVertices = [&] {
        if (!use.all())
            TriangleList.dropUnusedVertices();
    };
    std::vector<Triangle> decoded;
    try {
        ReadRecords(in, count, kTriangleRecordSize,
                    [&](const std::uint8_t* bytes, std::size_t records) {
                        AppendTriangles(bytes, records, use, decoded);
                    });
    } catch (...) {
        keepUsedVertices();
        throw;
    }
    keepUsedVertices();
    load.file.close();
    return true;
}

}  // namespace quarn
