#include "mesh_export.h"

#include <bit>

#include "checked_float.h"

namespace quarn {

std::size_t HeightClassIndex(std::int32_t colourCode) {
    switch (colourCode) {
        case kWaterCode:
            return 0;
        case kLawnCode:
            return 1;
        case kMountainCode:
            return 2;
        default:
            return 3;
    }
}

Vertex MapUnitVertex(const TerrainMesh& mesh, std::size_t k, float mapExtent) {
    // The plane is normalised so that the longer side spans -1 to +1, heights by the extent.
    const SampledVertex& v = mesh.vertices[k];
    const double halfExtent = 0.5 * mapExtent;
    return {CheckedToFloat(v.x * halfExtent), CheckedToFloat(v.y * halfExtent),
            CheckedToFloat(static_cast<double>(v.h) * mapExtent)};
}

void ChunkedOutput::appendUint32(std::uint32_t value) {
    std::uint8_t bytes[4];
    PutUint32(bytes, value);
    m_buffer.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void ChunkedOutput::appendFloat(float value) {
    appendUint32(std::bit_cast<std::uint32_t>(value));
}

void ChunkedOutput::flush() {
    m_out.writeText(m_buffer);
    m_buffer.clear();
}

}  // namespace quarn
