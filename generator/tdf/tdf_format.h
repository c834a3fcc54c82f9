// The 3DF terrain file: records and their field-by-field little-endian encoding.
//
// Layout: the header bytes 03 33 44, the vertex count (int32), that many Vertex records
// (x, y, z: float32), the triangle count (int32), that many Triangle records (three 0-based
// corner indices and a colour code: int32). No padding, no trailer.
#pragma once

#include <array>
#include <cstdint>

#include "binary_io.h"

namespace quarn {

struct Vertex {
    float x = 0, y = 0, z = 0;
};

struct Triangle {
    std::int32_t a = 0, b = 0, c = 0;
    std::int32_t colour = 0;
};

inline constexpr std::array<std::uint8_t, 3> kTdfHeader{0x03, 0x33, 0x44};
inline constexpr std::int64_t kVertexRecordSize = 12;
inline constexpr std::int64_t kTriangleRecordSize = 16;

/// Triangle colour codes: the hue the viewer shades with (kSnowCode: no hue).
inline constexpr std::int32_t kWaterCode = 216;
inline constexpr std::int32_t kLawnCode = 120;
inline constexpr std::int32_t kMountainCode = 24;
inline constexpr std::int32_t kSnowCode = 32767;

/// Bytes of a complete file with n vertices and t triangles: 11 + 12 n + 16 t.
constexpr std::int64_t TdfFileSize(std::int64_t vertices, std::int64_t triangles) {
    return 3 + 4 + kVertexRecordSize * vertices + 4 + kTriangleRecordSize * triangles;
}

/// Writes the three header bytes.
void WriteTdfHeader(BinaryWriter& out);
/// Writes a vertex record (12 bytes).
void WriteVertex(BinaryWriter& out, const Vertex& v);
/// Writes a triangle record (16 bytes).
void WriteTriangle(BinaryWriter& out, const Triangle& t);
/// Reads a vertex record; a short file raises "Read beyond end of file".
Vertex ReadVertex(BinaryReader& in);
/// Reads a triangle record; a short file raises "Read beyond end of file".
Triangle ReadTriangle(BinaryReader& in);

}  // namespace quarn
