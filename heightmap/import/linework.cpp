#include "linework.h"

#include <algorithm>
#include <array>

#include "lab_colour.h"
#include "parallel.h"

namespace quarn {

namespace {

constexpr std::int64_t kMinRowsPerBand = 64;
constexpr std::int64_t kReach = 3;  // half the side of the square: strokes up to 6 px are lines
// How much darker than its surroundings a pixel must be to be linework: above JPEG noise and
// what hill shading changes over a few pixels, below the ringing a compressed line leaves.
constexpr int kLineContrast = 40;
// Compression rings a line for two pixels either side: those are filled with it.
constexpr std::int64_t kRinging = 2;

std::uint8_t Luma(Colour colour) {
    const unsigned r = colour & 255, g = (colour >> 8) & 255, b = (colour >> 16) & 255;
    return static_cast<std::uint8_t>((54 * r + 183 * g + 19 * b + 128) >> 8);
}

// to = the greatest (dilate) or least of from over kReach rows up and down, the edge repeated.
void SpreadDown(const std::vector<std::uint8_t>& from, std::vector<std::uint8_t>& to,
                std::int64_t w, std::int64_t h, bool dilate, std::int64_t reach) {
    ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::int64_t y = begin; y < end; ++y) {
            std::uint8_t* out = &to[static_cast<std::size_t>(y * w)];
            const std::uint8_t* first =
                &from[static_cast<std::size_t>(std::max(y - reach, std::int64_t{0}) * w)];
            std::copy(first, first + w, out);
            for (std::int64_t d = -reach; d <= reach; ++d) {
                const std::int64_t row = std::clamp(y + d, std::int64_t{0}, h - 1);
                const std::uint8_t* in = &from[static_cast<std::size_t>(row * w)];
                for (std::int64_t x = 0; x < w; ++x)
                    out[x] = dilate ? std::max(out[x], in[x]) : std::min(out[x], in[x]);
            }
        }
    });
}

// The same along each row, in place.
void SpreadAcross(std::vector<std::uint8_t>& plane, std::int64_t w, std::int64_t h, bool dilate,
                  std::int64_t reach) {
    ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(w + 2 * reach));
        for (std::int64_t y = begin; y < end; ++y) {
            std::uint8_t* line = &plane[static_cast<std::size_t>(y * w)];
            std::fill_n(row.begin(), reach, line[0]);
            std::copy(line, line + w, row.begin() + reach);
            std::fill_n(row.begin() + reach + w, reach, line[w - 1]);
            for (std::int64_t x = 0; x < w; ++x) {
                const auto window = row.begin() + x;
                line[x] = dilate ? *std::max_element(window, window + 2 * reach + 1)
                                 : *std::min_element(window, window + 2 * reach + 1);
            }
        }
    });
}

// The band most of the filled neighbours of (x, y) have, or nothing when none is filled.
std::optional<std::uint8_t> NeighbourBand(const PixelCells& cells, std::int64_t x, std::int64_t y) {
    std::array<int, kMaxBands> votes{};
    int most = 0;
    std::uint8_t band = 0;
    for (std::int64_t ny = std::max<std::int64_t>(y - 1, 0);
         ny <= std::min<std::int64_t>(y + 1, cells.height - 1); ++ny)
        for (std::int64_t nx = std::max<std::int64_t>(x - 1, 0);
             nx <= std::min<std::int64_t>(x + 1, cells.width - 1); ++nx) {
            const std::uint8_t n = cells.cells[cells.at(nx, ny)];
            if (n & kLine)
                continue;
            const int count = ++votes[n & kBandBits];
            if (count > most || (count == most && (n & kBandBits) < band)) {
                most = count;
                band = n & kBandBits;
            }
        }
    return most > 0 ? std::optional(band) : std::nullopt;
}

// One pass of the fill: linework beside filled pixels takes their band; the count filled.
std::size_t FillPass(PixelCells& cells) {
    const std::int64_t w = cells.width;
    std::vector<std::size_t> filled(
        ChunkCount(static_cast<std::size_t>(cells.height), kMinRowsPerBand));
    ParallelChunks(static_cast<std::size_t>(cells.height), kMinRowsPerBand,
                   [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                       for (auto y = static_cast<std::int64_t>(begin);
                            y < static_cast<std::int64_t>(end); ++y)
                           for (std::int64_t x = 0; x < w; ++x) {
                               const std::size_t at = cells.at(x, y);
                               cells.scratch[at] = 0;
                               if (!(cells.cells[at] & kLine))
                                   continue;
                               if (const auto band = NeighbourBand(cells, x, y)) {
                                   cells.scratch[at] = static_cast<std::uint8_t>(*band | kLine);
                                   ++filled[chunk];
                               }
                           }
                   });
    ForEachRowBand(cells.height, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::size_t at = cells.at(0, begin); at < cells.at(0, end); ++at)
            if (cells.scratch[at] & kLine)
                cells.cells[at] =
                    static_cast<std::uint8_t>((cells.scratch[at] & kBandBits) | kNearBand);
    });
    std::size_t total = 0;
    for (const std::size_t count : filled)
        total += count;
    return total;
}

}  // namespace

// Linework is darker than the closing of the lightness (a dilation, then an erosion, by the
// square): the closing lifts thin dark strokes to the level around them and leaves wider areas
// and band edges as they are.
void MarkLinework(const RgbImage& image, PixelCells& cells) {
    const std::int64_t w = image.width, h = image.height;
    std::vector<std::uint8_t> lightness(cells.cells.size());
    ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::size_t at = cells.at(0, begin); at < cells.at(0, end); ++at)
            lightness[at] = Luma(image.pixels[at]);
    });
    SpreadDown(lightness, cells.scratch, w, h, true, kReach);
    SpreadAcross(cells.scratch, w, h, true, kReach);
    SpreadDown(cells.scratch, lightness, w, h, false, kReach);
    SpreadAcross(lightness, w, h, false, kReach);
    ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::size_t at = cells.at(0, begin); at < cells.at(0, end); ++at) {
            const Colour colour = image.pixels[at];
            const bool line = lightness[at] - Luma(colour) >= kLineContrast;
            cells.scratch[at] = line ? 255 : 0;
            cells.cells[at] = static_cast<std::uint8_t>(IsDark(colour) ? kDark : 0);
        }
    });
    SpreadDown(cells.scratch, lightness, w, h, true, kRinging);
    SpreadAcross(lightness, w, h, true, kRinging);
    ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::size_t at = cells.at(0, begin); at < cells.at(0, end); ++at)
            if (lightness[at])
                cells.cells[at] |= kLine;
    });
}

std::optional<Colour> LineworkColour(const RgbImage& image, const PixelCells& cells) {
    const std::size_t count = cells.cells.size();
    std::vector<std::array<std::uint64_t, 4>> sums(ChunkCount(count, 1 << 16));
    ParallelChunks(count, 1 << 16, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        for (std::size_t at = begin; at < end; ++at)
            if ((cells.cells[at] & (kLine | kDark)) == (kLine | kDark)) {
                const Colour colour = image.pixels[at];
                sums[chunk][0] += 1;
                sums[chunk][1] += colour & 255;
                sums[chunk][2] += (colour >> 8) & 255;
                sums[chunk][3] += (colour >> 16) & 255;
            }
    });
    std::array<std::uint64_t, 4> total{};
    for (const auto& part : sums)
        for (std::size_t i = 0; i < total.size(); ++i)
            total[i] += part[i];
    if (total[0] == 0)
        return std::nullopt;
    const auto mean = [&](std::uint64_t sum) {
        return static_cast<std::int32_t>((sum + total[0] / 2) / total[0]);
    };
    return PackRGB(mean(total[1]), mean(total[2]), mean(total[3]));
}

void FillLinework(PixelCells& cells) {
    while (FillPass(cells) > 0) {
    }
}

}  // namespace quarn
