#include "band_classify.h"

#include <atomic>
#include <cmath>
#include <limits>

#include "lab_colour.h"
#include "parallel.h"

namespace quarn {

namespace {

constexpr std::int64_t kMinRowsPerBand = 64;
// A pixel whose 3 x 3 square holds at least this many pixels of another band takes that band.
constexpr int kStrayVotes = 5;

struct Choice {
    std::uint8_t band;
    float distance;
};

Choice NearestOf(const std::vector<std::vector<Shade>>& bands, const Lab& lab) {
    Choice best{0, std::numeric_limits<float>::max()};
    for (std::size_t i = 0; i < bands.size(); ++i)
        for (const Shade& shade : bands[i])
            if (const float d = shade.distance(lab); d < best.distance)
                best = {static_cast<std::uint8_t>(i), d};
    return best;
}

// How many of the pixels of the 3 x 3 square about (x, y) (within the map) each band has,
// counting only those whose marks include need.
std::array<int, kMaxBands> SquareVotes(const PixelCells& cells, std::int64_t x, std::int64_t y,
                                       std::uint8_t need = 0) {
    std::array<int, kMaxBands> votes{};
    for (std::int64_t ny = std::max<std::int64_t>(y - 1, 0);
         ny <= std::min<std::int64_t>(y + 1, cells.height - 1); ++ny)
        for (std::int64_t nx = std::max<std::int64_t>(x - 1, 0);
             nx <= std::min<std::int64_t>(x + 1, cells.width - 1); ++nx)
            if (const std::uint8_t n = cells.cells[cells.at(nx, ny)]; (n & need) == need)
                ++votes[n & kBandBits];
    return votes;
}

std::uint8_t Entry(const Choice& choice) {
    return choice.distance < kNearBandDistance ? choice.band | kNearBand : choice.band;
}

std::vector<std::vector<Shade>> ShadesOfAll(const std::vector<Colour>& palette) {
    std::vector<std::vector<Shade>> shades;
    for (const Colour colour : palette)
        shades.push_back(ShadesOf(colour));
    return shades;
}

}  // namespace

// Hill shading blends a tint with black or white by up to a quarter: each band is matched by
// the nearest of its blends, so a shaded tint stays in its band.
std::vector<Shade> ShadesOf(Colour colour) {
    constexpr int kShadeSteps = 6;
    constexpr double kMostShading = 0.25;
    constexpr double kFullShadingCost = 3.0 * 3.0;  // under what JPEG noise moves a pixel
    std::vector<Shade> shades;
    for (int step = -kShadeSteps; step <= kShadeSteps; ++step) {
        const double t = kMostShading * std::abs(step) / kShadeSteps;
        const double towards = step < 0 ? 0.0 : 255.0;
        const auto blend = [&](unsigned shift) {
            const double channel = (colour >> shift) & 255u;
            return static_cast<std::int32_t>(std::nearbyint(channel + t * (towards - channel)));
        };
        const double share = static_cast<double>(step) / kShadeSteps;
        shades.push_back({ToLab(PackRGB(blend(0), blend(8), blend(16))),
                          static_cast<float>(kFullShadingCost * share * share)});
    }
    return shades;
}

BandTable::BandTable(const std::vector<Colour>& palette)
    : m_palette(palette), m_shades(ShadesOfAll(palette)), m_table(64 * 64 * 64) {
    ParallelChunks(m_table.size(), 4096, [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t cell = begin; cell < end; ++cell) {
            const auto centre = [cell](std::size_t shift) {
                return static_cast<std::int32_t>(((cell >> shift) & 63) * 4 + 2);
            };
            m_table[cell] =
                Entry(NearestOf(m_shades, ToLab(PackRGB(centre(0), centre(6), centre(12)))));
        }
    });
    for (std::size_t i = 0; i < palette.size(); ++i)
        if ((m_table[CellOf(palette[i])] & kBandBits) != i)
            m_table[CellOf(palette[i])] = kDecidePerPixel;
}

std::uint8_t BandTable::nearest(Colour colour) const {
    for (std::size_t i = 0; i < m_palette.size(); ++i)
        if (m_palette[i] == colour)
            return static_cast<std::uint8_t>(i | kNearBand);
    return Entry(NearestOf(m_shades, ToLab(colour)));
}

bool ClassifyPixels(const RgbImage& image, const BandTable& table, PixelCells& cells,
                    std::optional<std::uint8_t> lineBand) {
    std::atomic<bool> exact = true;
    ForEachRowBand(image.height, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        bool exactHere = true;
        for (std::size_t at = cells.at(0, begin); at < cells.at(0, end); ++at) {
            const std::uint8_t marks = cells.cells[at] & (kDark | kLine);
            if (lineBand && marks == (kDark | kLine)) {
                cells.cells[at] = static_cast<std::uint8_t>(kDark | *lineBand | kNearBand);
                exactHere = false;
                continue;
            }
            const Colour colour = image.pixels[at];
            const std::uint8_t band = table.classify(colour);
            exactHere = exactHere && table.colourOf(band & kBandBits) == colour;
            cells.cells[at] = static_cast<std::uint8_t>((lineBand ? marks & kDark : marks) | band);
        }
        if (!exactHere)
            exact.store(false, std::memory_order_relaxed);
    });
    return exact;
}

double NearBandShare(const PixelCells& cells) {
    const std::size_t count = cells.cells.size();
    std::vector<std::size_t> near(ChunkCount(count, 1 << 16));
    ParallelChunks(count, 1 << 16, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        for (std::size_t at = begin; at < end; ++at)
            near[chunk] += (cells.cells[at] & kNearBand) != 0;
    });
    std::size_t total = 0;
    for (const std::size_t part : near)
        total += part;
    return count == 0 ? 0.0 : static_cast<double>(total) / static_cast<double>(count);
}

void SmoothFringes(PixelCells& cells) {
    const std::int64_t w = cells.width, h = cells.height;
    ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::int64_t y = begin; y < end; ++y)
            for (std::int64_t x = 0; x < w; ++x) {
                const std::uint8_t own = cells.cells[cells.at(x, y)];
                cells.scratch[cells.at(x, y)] = own;
                if (own & kNearBand)
                    continue;
                const std::array<int, kMaxBands> votes = SquareVotes(cells, x, y, kNearBand);
                std::size_t best = own & kBandBits;
                if (votes[best] == 0)
                    for (std::size_t band = 0; band < votes.size(); ++band)
                        if (votes[band] > votes[best])
                            best = band;
                cells.scratch[cells.at(x, y)] =
                    static_cast<std::uint8_t>((own & ~kBandBits) | best);
            }
    });
    cells.cells.swap(cells.scratch);
}

namespace {

// Whether the pixels around (x, y), the edge repeated, are all of its band: the filter leaves
// it so, and most pixels are.
bool InsideItsBand(const PixelCells& cells, std::int64_t x, std::int64_t y) {
    const std::int64_t w = cells.width, h = cells.height;
    const std::uint8_t own = cells.cells[cells.at(x, y)] & kBandBits;
    const std::int64_t left = std::max<std::int64_t>(x - 1, 0), right = std::min(x + 1, w - 1);
    for (const std::int64_t row : {std::max<std::int64_t>(y - 1, 0), y, std::min(y + 1, h - 1)})
        for (const std::int64_t column : {left, x, right})
            if ((cells.cells[cells.at(column, row)] & kBandBits) != own)
                return false;
    return true;
}

// One pass of the majority filter over the rows marked in active, each row's flag in changed
// set when any of its pixels changed.
void MajorityPass(PixelCells& cells, const std::vector<char>& active, std::vector<char>& changed) {
    const std::int64_t w = cells.width, h = cells.height;
    ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::int64_t y = begin; y < end; ++y) {
            changed[static_cast<std::size_t>(y)] = 0;
            if (!active[static_cast<std::size_t>(y)])
                continue;
            for (std::int64_t x = 0; x < w; ++x) {
                const std::uint8_t own = cells.cells[cells.at(x, y)];
                cells.scratch[cells.at(x, y)] = own;
                if (InsideItsBand(cells, x, y))
                    continue;
                const std::array<int, kMaxBands> votes = SquareVotes(cells, x, y);
                std::size_t best = own & kBandBits;
                for (std::size_t band = 0; band < votes.size(); ++band)
                    if (votes[band] >= kStrayVotes && votes[band] > votes[best])
                        best = band;
                if (best != (own & kBandBits)) {
                    changed[static_cast<std::size_t>(y)] = 1;
                    cells.scratch[cells.at(x, y)] =
                        static_cast<std::uint8_t>((own & ~kBandBits) | best);
                }
            }
        }
    });
    ForEachRowBand(h, kMinRowsPerBand, [&](std::int64_t begin, std::int64_t end) {
        for (std::int64_t y = begin; y < end; ++y)
            if (active[static_cast<std::size_t>(y)])
                std::copy_n(cells.scratch.begin() + static_cast<std::ptrdiff_t>(cells.at(0, y)), w,
                            cells.cells.begin() + static_cast<std::ptrdiff_t>(cells.at(0, y)));
    });
}

}  // namespace

void RemoveStrays(PixelCells& cells) {
    constexpr int kMostPasses = 8;
    const auto rows = static_cast<std::size_t>(cells.height);
    std::vector<char> active(rows, 1), changed(rows);
    for (int pass = 0; pass < kMostPasses; ++pass) {
        MajorityPass(cells, active, changed);
        // Next, only the rows that a change may have reached.
        bool any = false;
        for (std::size_t y = 0; y < rows; ++y) {
            active[y] = changed[y] || (y > 0 && changed[y - 1]) || (y + 1 < rows && changed[y + 1]);
            any = any || active[y];
        }
        if (!any)
            break;
    }
}

}  // namespace quarn
