// Binary records encoded on all cores and written in large blocks, in order: the same bytes as
// writing them one field at a time, with the encoding of one block overlapping the writing
// of the one before.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <future>
#include <vector>

#include "binary_io.h"
#include "parallel.h"

namespace quarn {

// Bytes encoded before they are handed on: large writes, bounded memory.
inline constexpr std::int64_t kEncodedBlockBytes = 4 << 20;
inline constexpr std::int64_t kMinItemsPerEncoder = 4096;

/// Writes items 0..count-1 of itemBytes each, encode(item, at) filling one item's bytes. The
/// items of a block are encoded on several threads while the block before is being written;
/// the blocks are written in order, one at a time.
template <typename Encode>
void WriteEncoded(BinaryWriter& out, std::int64_t count, std::int64_t itemBytes,
                  const Encode& encode) {
    const std::int64_t perBlock = std::max<std::int64_t>(1, kEncodedBlockBytes / itemBytes);
    std::array<std::vector<std::uint8_t>, 2> blocks;
    std::future<void> writing;
    for (std::int64_t first = 0, n = 0; first < count; first += perBlock, ++n) {
        std::vector<std::uint8_t>& block = blocks[static_cast<std::size_t>(n % 2)];
        const std::int64_t items = std::min(perBlock, count - first);
        block.resize(static_cast<std::size_t>(items * itemBytes));
        ForEachRowBand(items, kMinItemsPerEncoder, [&](std::int64_t begin, std::int64_t end) {
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

}  // namespace quarn
