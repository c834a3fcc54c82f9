#include "band_finding.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "band_classify.h"
#include "lab_colour.h"
#include "parallel.h"

namespace quarn {

namespace {

constexpr std::size_t kCellCount = 32 * 32 * 32;
constexpr int kIterations = 30;
constexpr float kMergeDistance = 12.0f * 12.0f;
constexpr double kNegligibleShare = 0.002;
constexpr std::size_t kJudgedCells = 256, kCandidateCells = 48;
constexpr int kUniformSpread = 10;          // JPEG noise within a tint, per channel
constexpr double kLeastUniformShare = 0.1;  // under it, the image is all edges: use every pixel

struct CellSum {
    std::uint64_t count = 0, red = 0, green = 0, blue = 0;

    void add(const CellSum& other) {
        count += other.count;
        red += other.red;
        green += other.green;
        blue += other.blue;
    }
    Colour mean() const {
        const auto channel = [this](std::uint64_t sum) {
            return static_cast<std::int32_t>((sum + count / 2) / count);
        };
        return PackRGB(channel(red), channel(green), channel(blue));
    }
};

struct Histogram {
    std::vector<CellSum> cells = std::vector<CellSum>(kCellCount);    // every non-line pixel
    std::vector<CellSum> uniform = std::vector<CellSum>(kCellCount);  // the reliable ones
    std::vector<Colour> exact;  // the distinct colours while there are at most 16
    bool manyColours = false;

    void addExact(Colour colour) {
        if (manyColours || std::find(exact.begin(), exact.end(), colour) != exact.end())
            return;
        exact.push_back(colour);
        manyColours = exact.size() > kMaxBands;
    }
};

std::size_t CellOf(Colour colour) {
    return ((colour >> 3) & 31) | ((colour >> 6) & (31 << 5)) | ((colour >> 9) & (31 << 10));
}

void AddTo(CellSum& sum, Colour colour) {
    ++sum.count;
    sum.red += colour & 255;
    sum.green += (colour >> 8) & 255;
    sum.blue += (colour >> 16) & 255;
}

// A pixel inside a patch of one tint: no line, fringe or lettering edge among its neighbours,
// which would otherwise show as colours of bands of their own.
bool Uniform(const RgbImage& image, const PixelCells& cells, std::int64_t x, std::int64_t y) {
    if (x < 1 || y < 1 || x + 1 >= image.width || y + 1 >= image.height)
        return false;
    const Colour own = image.pixels[cells.at(x, y)];
    for (std::int64_t ny = y - 1; ny <= y + 1; ++ny)
        for (std::int64_t nx = x - 1; nx <= x + 1; ++nx) {
            const std::size_t at = cells.at(nx, ny);
            if (cells.cells[at] & kLine)
                return false;
            const Colour other = image.pixels[at];
            for (unsigned shift = 0; shift < 24; shift += 8)
                if (std::abs(static_cast<int>((own >> shift) & 255) -
                             static_cast<int>((other >> shift) & 255)) > kUniformSpread)
                    return false;
        }
    return true;
}

Histogram Count(const RgbImage& image, const PixelCells& cells) {
    constexpr std::size_t kMinRows = 64;
    const auto rows = static_cast<std::size_t>(image.height);
    std::vector<Histogram> parts(ChunkCount(rows, kMinRows));
    ParallelChunks(rows, kMinRows, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        Histogram& part = parts[chunk];
        for (std::size_t y = begin; y < end; ++y)
            for (std::int32_t x = 0; x < image.width; ++x) {
                const std::size_t at = cells.at(x, static_cast<std::int64_t>(y));
                if (cells.cells[at] & kLine)
                    continue;
                const Colour colour = image.pixels[at];
                AddTo(part.cells[CellOf(colour)], colour);
                if (Uniform(image, cells, x, static_cast<std::int64_t>(y)))
                    AddTo(part.uniform[CellOf(colour)], colour);
                part.addExact(colour);
            }
    });
    Histogram total = std::move(parts[0]);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        for (std::size_t c = 0; c < kCellCount; ++c) {
            total.cells[c].add(parts[i].cells[c]);
            total.uniform[c].add(parts[i].uniform[c]);
        }
        total.manyColours = total.manyColours || parts[i].manyColours;
        for (const Colour colour : parts[i].exact)
            total.addExact(colour);
    }
    return total;
}

struct Point {
    Lab lab;
    CellSum sum;
    std::size_t cell;
};

// A band's colour with its shades: a pixel is as near the band as it is to the nearest shade.
struct Cluster {
    Colour colour = 0;
    std::vector<Lab> shades;
    CellSum sum;

    explicit Cluster(Colour c) : colour(c), shades(ShadesOf(c)) {}
    float distance(const Lab& lab) const {
        float best = std::numeric_limits<float>::max();
        for (const Lab& shade : shades)
            best = std::min(best, BandDistance(shade, lab));
        return best;
    }
};

std::size_t Nearest(const std::vector<Cluster>& clusters, const Lab& lab) {
    std::size_t best = 0;
    float bestDistance = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < clusters.size(); ++i)
        if (const float d = clusters[i].distance(lab); d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    return best;
}

// The heaviest point, then each time the point of most weight times squared distance.
std::vector<Cluster> Seeds(const std::vector<Point>& points, std::size_t k) {
    std::vector<Cluster> seeds;
    std::vector<float> distance(points.size(), std::numeric_limits<float>::max());
    while (seeds.size() < k) {
        std::size_t best = 0;
        double bestScore = -1;
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (!seeds.empty())
                distance[i] = std::min(distance[i], seeds.back().distance(points[i].lab));
            const double score = static_cast<double>(points[i].sum.count) * distance[i];
            if (score > bestScore) {
                bestScore = score;
                best = i;
            }
        }
        if (bestScore <= 0 && !seeds.empty())
            break;  // every point is a seed's colour
        seeds.emplace_back(points[best].sum.mean());
    }
    return seeds;
}

// The colour whose shades best cover the cluster's heaviest cells: the unshaded tint, where a
// mean or the densest spot drifts towards the darkest or lightest shade of steep slopes.
Colour CoveringColour(const std::vector<Point>& points, const std::vector<std::size_t>& owner,
                      std::size_t cluster) {
    std::vector<std::size_t> members;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (owner[i] == cluster)
            members.push_back(i);
    const auto heavier = [&](std::size_t a, std::size_t b) {
        return points[a].sum.count > points[b].sum.count ||
               (points[a].sum.count == points[b].sum.count && a < b);
    };
    const std::size_t judged = std::min<std::size_t>(members.size(), kJudgedCells);
    std::partial_sort(members.begin(), members.begin() + static_cast<std::ptrdiff_t>(judged),
                      members.end(), heavier);
    Colour best = points[members.front()].sum.mean();
    double bestCost = std::numeric_limits<double>::max();
    for (std::size_t c = 0; c < std::min<std::size_t>(judged, kCandidateCells); ++c) {
        const Cluster candidate(points[members[c]].sum.mean());
        double cost = 0;
        for (std::size_t m = 0; m < judged; ++m)
            cost += static_cast<double>(points[members[m]].sum.count) *
                    std::min(candidate.distance(points[members[m]].lab), kNearBandDistance);
        if (cost < bestCost) {
            bestCost = cost;
            best = candidate.colour;
        }
    }
    return best;
}

std::vector<Cluster> KMeans(const std::vector<Point>& points, std::size_t k) {
    std::vector<Cluster> clusters = Seeds(points, k);
    std::vector<std::size_t> owner(points.size(), clusters.size());
    for (int iteration = 0; iteration < kIterations; ++iteration) {
        bool moved = false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const std::size_t nearest = Nearest(clusters, points[i].lab);
            moved = moved || nearest != owner[i];
            owner[i] = nearest;
        }
        for (Cluster& cluster : clusters)
            cluster.sum = {};
        for (std::size_t i = 0; i < points.size(); ++i)
            clusters[owner[i]].sum.add(points[i].sum);
        if (!moved)
            break;
        for (std::size_t c = 0; c < clusters.size(); ++c)
            if (clusters[c].sum.count > 0)
                clusters[c] = Cluster(CoveringColour(points, owner, c));
    }
    std::erase_if(clusters, [](const Cluster& cluster) { return cluster.sum.count == 0; });
    return clusters;
}

// Clusters nearer than a shading's difference are one band, of the heavier one's colour; ones
// of no real share are none.
void MergeClose(std::vector<Cluster>& clusters, std::uint64_t total) {
    for (;;) {
        std::size_t first = 0, second = 0;
        float closest = kMergeDistance;
        for (std::size_t i = 0; i < clusters.size(); ++i)
            for (std::size_t j = i + 1; j < clusters.size(); ++j)
                if (const float d = clusters[i].distance(ToLab(clusters[j].colour)); d < closest) {
                    closest = d;
                    first = i;
                    second = j;
                }
        if (first == second)
            break;
        if (clusters[second].sum.count > clusters[first].sum.count)
            std::swap(clusters[first], clusters[second]);
        clusters[first].sum.add(clusters[second].sum);
        clusters.erase(clusters.begin() + static_cast<std::ptrdiff_t>(second));
    }
    std::erase_if(clusters, [total](const Cluster& cluster) {
        return static_cast<double>(cluster.sum.count) <
               kNegligibleShare * static_cast<double>(total);
    });
}

}  // namespace

std::vector<Colour> FindBands(const RgbImage& image, const PixelCells& cells, int wanted) {
    const Histogram histogram = Count(image, cells);
    std::vector<Colour> bands;
    if (!histogram.manyColours &&
        (wanted == 0 || static_cast<std::size_t>(wanted) == histogram.exact.size())) {
        bands = histogram.exact;
    } else {
        std::uint64_t all = 0, uniform = 0;
        for (std::size_t c = 0; c < kCellCount; ++c) {
            all += histogram.cells[c].count;
            uniform += histogram.uniform[c].count;
        }
        const std::vector<CellSum>& counted =
            static_cast<double>(uniform) >= kLeastUniformShare * static_cast<double>(all)
                ? histogram.uniform
                : histogram.cells;
        std::vector<Point> points;
        std::uint64_t total = 0;
        for (std::size_t c = 0; c < kCellCount; ++c)
            if (const CellSum& sum = counted[c]; sum.count > 0) {
                points.push_back({ToLab(sum.mean()), sum, c});
                total += sum.count;
            }
        if (points.empty())
            return bands;  // nothing but linework
        std::vector<Cluster> clusters =
            KMeans(points, static_cast<std::size_t>(wanted == 0 ? kMaxBands : wanted));
        if (wanted == 0)
            MergeClose(clusters, total);
        for (const Cluster& cluster : clusters)
            bands.push_back(cluster.colour);
    }
    std::sort(bands.begin(), bands.end(), [](Colour a, Colour b) {
        const float la = ToLab(a).l, lb = ToLab(b).l;
        return la < lb || (la == lb && a < b);
    });
    return bands;
}

}  // namespace quarn
