#include "write_r16.h"

#include <cstdint>
#include <vector>

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

}  // namespace quarn
