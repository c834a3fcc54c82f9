// A grid of heights laid out as the terrain sampler lays out its vertices: row after row from
// the top, sample k = row * cols + col at x = col (to the right) and y = row (down).
#pragma once

#include <cstdint>
#include <span>

namespace quarn {

/// A view of cols * rows heights; the caller keeps them alive.
struct HeightGrid {
    std::int32_t cols = 0, rows = 0;
    std::span<const float> heights;
};

}  // namespace quarn
