// The working state of a map being cleaned: one byte per pixel, its band in the low four bits
// and what is known of it above, plus one byte per pixel of scratch for the passes that must
// not read what they write. Two bytes a pixel keep a 16384 x 16384 map within half a gigabyte
// beside its decoded image.
#pragma once

#include <cstdint>
#include <vector>

namespace quarn {

inline constexpr std::uint8_t kBandBits = 0x0F;
inline constexpr std::uint8_t kNearBand = 0x10;  // the pixel's colour is its band's, give or take
inline constexpr std::uint8_t kDark = 0x20;
inline constexpr std::uint8_t kLine = 0x40;  // thin dark linework, to be filled or kept

struct PixelCells {
    PixelCells(std::int32_t w, std::int32_t h)
        : width(w),
          height(h),
          cells(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)),
          scratch(cells.size()) {}

    std::size_t at(std::int64_t x, std::int64_t y) const {
        return static_cast<std::size_t>(y * width + x);
    }

    std::int32_t width, height;
    std::vector<std::uint8_t> cells;
    std::vector<std::uint8_t> scratch;
};

}  // namespace quarn
