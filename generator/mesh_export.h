// What the mesh formats (OBJ, PLY, glTF) share: the map's own units, the height classes with
// their colours, and triangles turned to face upward.
//
// Map units put the origin at the map's centre, x east and y north as the map's width and
// height were typed, z the height as typed (raised to the Water level).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "binary_io.h"
#include "tdf_format.h"
#include "terrain_sampler.h"

namespace quarn {

/// A height class as the mesh formats name and colour it (the viewer's colours at full light).
struct HeightClass {
    const char* name;
    std::uint8_t red, green, blue;
};

inline constexpr std::array<HeightClass, 4> kHeightClasses{{{"water", 0, 102, 255},
                                                            {"lawn", 0, 255, 0},
                                                            {"mountain", 255, 102, 0},
                                                            {"snow", 255, 255, 255}}};

/// The position in kHeightClasses of a triangle colour code (anything else is snow).
std::size_t HeightClassIndex(std::int32_t colourCode);

/// Vertex k of mesh in map units, for a map whose longer side measures mapExtent.
Vertex MapUnitVertex(const TerrainMesh& mesh, std::size_t k, float mapExtent);

/// The corners counter-clockwise seen from above: the grid lists them clockwise.
inline std::array<std::int32_t, 3> UpwardCorners(const Triangle& t) {
    return {t.a, t.c, t.b};
}

/// Gathers many small fields and hands them on in large pieces.
class ChunkedOutput {
  public:
    explicit ChunkedOutput(BinaryWriter& out) : m_out(out) {}

    /// Where text is appended; call done() after each record.
    std::string& text() { return m_buffer; }
    void appendUint8(std::uint8_t value) { m_buffer.push_back(static_cast<char>(value)); }
    /// Appends value as four little-endian bytes.
    void appendUint32(std::uint32_t value);
    void appendFloat(float value);
    /// Hands the gathered bytes on once there are enough of them.
    void done() {
        if (m_buffer.size() >= kChunkSize)
            flush();
    }
    /// Hands on whatever is gathered; the last call of a writer.
    void flush();

  private:
    static constexpr std::size_t kChunkSize = 1 << 16;
    BinaryWriter& m_out;
    std::string m_buffer;
};

}  // namespace quarn
