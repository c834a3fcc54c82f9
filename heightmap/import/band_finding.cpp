#include "band_finding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "lab_colour.h"
#include "parallel.h"

namespace quarn {

namespace {

constexpr std::size_t kCellCount = 32 * 32 * 32;
constexpr int kIterations = 30;
constexpr float kMergeDistance = 12.0f * 12.0f;
constexpr double kNegligibleShare = 0.002;

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
    std::vector<CellSum> cells = std::vector<CellSum>(kCellCount);
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
                CellSum& sum = part.cells[CellOf(colour)];
                ++sum.count;
                sum.red += colour & 255;
                sum.green += (colour >> 8) & 255;
                sum.blue += (colour >> 16) & 255;
                part.addExact(colour);
            }
    });
    Histogram total = std::move(parts[0]);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        for (std::size_t c = 0; c < kCellCount; ++c)
            total.cells[c].add(parts[i].cells[c]);
        total.manyColours = total.manyColours || parts[i].manyColours;
        for (const Colour colour : parts[i].exact)
            total.addExact(colour);
    }
    return total;
}

struct Point {
    Lab lab;
    CellSum sum;
};

struct Cluster {
    Lab centre;
    CellSum sum;
};

std::size_t Nearest(const std::vector<Cluster>& clusters, const Lab& lab) {
    std::size_t best = 0;
    float bestDistance = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < clusters.size(); ++i)
        if (const float d = BandDistance(clusters[i].centre, lab); d < bestDistance) {
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
                distance[i] =
                    std::min(distance[i], BandDistance(seeds.back().centre, points[i].lab));
            const double score = static_cast<double>(points[i].sum.count) * distance[i];
            if (score > bestScore) {
                bestScore = score;
                best = i;
            }
        }
        if (bestScore <= 0 && !seeds.empty())
            break;  // every point is a seed's colour
        seeds.push_back({points[best].lab, {}});
    }
    return seeds;
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
        std::vector<std::array<double, 3>> labSums(clusters.size(), {0, 0, 0});
        for (std::size_t i = 0; i < points.size(); ++i) {
            const auto weight = static_cast<double>(points[i].sum.count);
            labSums[owner[i]][0] += weight * points[i].lab.l;
            labSums[owner[i]][1] += weight * points[i].lab.a;
            labSums[owner[i]][2] += weight * points[i].lab.b;
            clusters[owner[i]].sum.add(points[i].sum);
        }
        for (std::size_t c = 0; c < clusters.size(); ++c)
            if (const auto weight = static_cast<double>(clusters[c].sum.count); weight > 0)
                clusters[c].centre = {static_cast<float>(labSums[c][0] / weight),
                                      static_cast<float>(labSums[c][1] / weight),
                                      static_cast<float>(labSums[c][2] / weight)};
        if (!moved)
            break;
    }
    std::erase_if(clusters, [](const Cluster& cluster) { return cluster.sum.count == 0; });
    return clusters;
}

// Clusters nearer than a shading's difference are one band; ones of no real share are none.
void MergeClose(std::vector<Cluster>& clusters, std::uint64_t total) {
    for (;;) {
        std::size_t first = 0, second = 0;
        float closest = kMergeDistance;
        for (std::size_t i = 0; i < clusters.size(); ++i)
            for (std::size_t j = i + 1; j < clusters.size(); ++j)
                if (const float d = BandDistance(clusters[i].centre, clusters[j].centre);
                    d < closest) {
                    closest = d;
                    first = i;
                    second = j;
                }
        if (first == second)
            break;
        Cluster& kept = clusters[first];
        const Cluster& gone = clusters[second];
        const auto w1 = static_cast<float>(kept.sum.count);
        const auto w2 = static_cast<float>(gone.sum.count);
        const auto mix = [&](float a, float b) { return (a * w1 + b * w2) / (w1 + w2); };
        kept.centre = {mix(kept.centre.l, gone.centre.l), mix(kept.centre.a, gone.centre.a),
                       mix(kept.centre.b, gone.centre.b)};
        kept.sum.add(gone.sum);
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
        std::vector<Point> points;
        std::uint64_t total = 0;
        for (std::size_t c = 0; c < kCellCount; ++c)
            if (const CellSum& sum = histogram.cells[c]; sum.count > 0) {
                points.push_back({ToLab(sum.mean()), sum});
                total += sum.count;
            }
        if (points.empty())
            return bands;  // nothing but linework
        std::vector<Cluster> clusters =
            KMeans(points, static_cast<std::size_t>(wanted == 0 ? kMaxBands : wanted));
        if (wanted == 0)
            MergeClose(clusters, total);
        for (const Cluster& cluster : clusters)
            bands.push_back(cluster.sum.mean());
    }
    std::sort(bands.begin(), bands.end(), [](Colour a, Colour b) {
        const float la = ToLab(a).l, lb = ToLab(b).l;
        return la < lb || (la == lb && a < b);
    });
    return bands;
}

}  // namespace quarn
