#include "linework.h"

#include <algorithm>
#include <array>

#include "lab_colour.h"
#include "parallel.h"

namespace quarn {

namespace {

constexpr std::int64_t kMinRowsPerBand = 64;
constexpr std::size_t kMinColumnsPerChunk = 64;
constexpr std::int64_t kReach = 2;  // half the side of the square that makes an area thick

// Scratch bits of the opening, each pass reading the one before.
constexpr std::uint8_t kDarkBit = 1, kErodedAcross = 2, kEroded = 4, kDilatedAcross = 8,
                       kThick = 16;

// Sets bit to on the pixels whose neighbours within kReach (along rows when across, along
// columns otherwise; the image's edge repeated) have from all set (erosion) or any (dilation).
// Row passes split the rows and column passes the columns, so no pass reads what another
// thread writes.
void Spread(PixelCells& cells, bool across, std::uint8_t from, std::uint8_t to, bool all) {
    const std::int64_t w = cells.width, h = cells.height;
    const auto pixel = [&](std::int64_t x, std::int64_t y) {
        bool result = all;
        for (std::int64_t d = -kReach; d <= kReach; ++d) {
            const std::size_t at = across ? cells.at(std::clamp(x + d, std::int64_t{0}, w - 1), y)
                                          : cells.at(x, std::clamp(y + d, std::int64_t{0}, h - 1));
            const bool set = (cells.scratch[at] & from) != 0;
            result = all ? result && set : result || set;
        }
        if (result)
            cells.scratch[cells.at(x, y)] |= to;
    };
    if (across)
        ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
            for (std::int64_t y = begin; y < end; ++y)
                for (std::int64_t x = 0; x < w; ++x)
                    pixel(x, y);
        });
    else
        ParallelChunks(static_cast<std::size_t>(w), kMinColumnsPerChunk,
                       [&](std::size_t, std::size_t begin, std::size_t end) {
                           for (std::int64_t y = 0; y < h; ++y)
                               for (auto x = static_cast<std::int64_t>(begin);
                                    x < static_cast<std::int64_t>(end); ++x)
                                   pixel(x, y);
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

void MarkLinework(const RgbImage& image, PixelCells& cells) {
    ForEachRowBand(image.height, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::size_t at = cells.at(0, begin); at < cells.at(0, end); ++at) {
            const bool dark = IsDark(image.pixels[at]);
            cells.cells[at] = dark ? kDark : 0;
            cells.scratch[at] = dark ? kDarkBit : 0;
        }
    });
    Spread(cells, true, kDarkBit, kErodedAcross, true);
    Spread(cells, false, kErodedAcross, kEroded, true);
    Spread(cells, true, kEroded, kDilatedAcross, false);
    Spread(cells, false, kDilatedAcross, kThick, false);
    ForEachRowBand(image.height, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::size_t at = cells.at(0, begin); at < cells.at(0, end); ++at)
            if ((cells.scratch[at] & (kDarkBit | kThick)) == kDarkBit)
                cells.cells[at] |= kLine;
    });
}

std::optional<Colour> LineworkColour(const RgbImage& image, const PixelCells& cells) {
    const std::size_t count = cells.cells.size();
    std::vector<std::array<std::uint64_t, 4>> sums(ChunkCount(count, 1 << 16));
    ParallelChunks(count, 1 << 16, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        for (std::size_t at = begin; at < end; ++at)
            if (cells.cells[at] & kLine) {
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
