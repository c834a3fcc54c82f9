#include "write_r16.h"

#include <cstdint>
#include <vector>

#include "atomic_file.h"
#include "envi_header.h"

namespace quarn {

void FormatR16(BinaryWriter& out, const Heightmap16& map) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(2 * map.samples.size());
    for (const std::uint16_t sample : map.samples) {
        bytes.push_back(static_cast<std::uint8_t>(sample & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(sample >> 8));
    }
    out.writeBytes(bytes);
}

void WriteR16WithHeader(BinaryWriter& out, const HeightmapToWrite& heightmap) {
    const Heightmap16& map = heightmap.map;
    AtomicFile header(heightmap.sideFile);
    BinaryWriter headerOut(header);
    headerOut.writeText(EnviHeaderText(
        map.cols, map.rows,
        "Quarn 3D heightmap, heights " + HeightRangeText(map.range) + " at 0 and 65535",
        heightmap.place));
    FormatR16(out, map);
    header.commit();
}

}  // namespace quarn
