#include "write_3df.h"

#include <algorithm>
#include <array>
#include <bit>
#include <future>
#include <vector>

#include "parallel.h"
#include "tdf_format.h"
#include "terrain_file.h"

namespace quarn {

namespace {

// Bytes encoded before they are handed on: large writes, bounded memory.
constexpr std::int64_t kBlockBytes = 4 << 20;
constexpr std::int64_t kMinItemsPerBand = 4096;

std::uint8_t* Put(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
    return at + 4;
}

std::uint8_t* PutFloat(std::uint8_t* at, float value) {
    return Put(at, std::bit_cast<std::uint32_t>(value));
}

std::uint8_t* PutTriangle(std::uint8_t* at, const Triangle& t) {
    for (const std::int32_t field : {t.a, t.b, t.c, t.colour})
        at = Put(at, static_cast<std::uint32_t>(field));
    return at;
}

// Writes items 0..count-1 of itemBytes each, encode(item, at) filling one item's bytes. The
// items of a block are encoded on several threads while the block before is being written;
// the blocks are written in order, one at a time.
template <typename Encode>
void WriteEncoded(BinaryWriter& out, std::int64_t count, std::int64_t itemBytes,
                  const Encode& encode) {
    const std::int64_t perBlock = std::max<std::int64_t>(1, kBlockBytes / itemBytes);
    std::array<std::vector<std::uint8_t>, 2> blocks;
    std::future<void> writing;
    for (std::int64_t first = 0, n = 0; first < count; first += perBlock, ++n) {
        std::vector<std::uint8_t>& block = blocks[static_cast<std::size_t>(n % 2)];
        const std::int64_t items = std::min(perBlock, count - first);
        block.resize(static_cast<std::size_t>(items * itemBytes));
        ForEachRowBand(items, kMinItemsPerBand, [&](std::int64_t begin, std::int64_t end) {
            for (std::int64_t item = begin; item < end; ++item)
                encode(first + item, block.data() + item * itemBytes);
        });
        if (writing.valid())
            writing.get();  // the other block is free again; a write failure is raised here
        writing = std::async(std::launch::async, [&out, &block] { out.writeBytes(block); });
    }
    if (writing.valid())
        writing.get();
}

}  // namespace

void Format3DF(BinaryWriter& out, const TerrainMesh& mesh) {
    WriteTdfHeader(out);
    out.writeInt32(mesh.cols * mesh.rows);
    WriteEncoded(out, static_cast<std::int64_t>(mesh.vertices.size()), kVertexRecordSize,
                 [&](std::int64_t k, std::uint8_t* at) {
                     const Vertex v = mesh.fileVertex(static_cast<std::size_t>(k));
                     PutFloat(PutFloat(PutFloat(at, v.x), v.y), v.z);
                 });
    out.writeInt32(mesh.triangleCount());
    // Each grid square gives its two triangles, in the order of ForEachTriangle.
    const std::int64_t squareCols = std::max(mesh.cols - 1, 0);
    const std::int64_t squares = squareCols * std::max(mesh.rows - 1, 0);
    WriteEncoded(out, squares, 2 * kTriangleRecordSize, [&](std::int64_t s, std::uint8_t* at) {
        const auto k = static_cast<std::int32_t>(s / squareCols * mesh.cols + s % squareCols);
        const auto [first, second] = SquareTriangles(mesh, k);
        PutTriangle(PutTriangle(at, first), second);
    });
}

bool Write_3DF(const GridSetup& setup, const ClassifiedRaster& raster,
               const std::string& fileName) {
    return WriteTerrainFile(setup, raster, fileName, Format3DF);
}

}  // namespace quarn
