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
constexpr int kSmoothStep = 10;             // the most a shading changes from pixel to pixel
constexpr std::size_t kShadeClusters = 32;  // clusters of shades, joined into bands
// Smooth contacts per pixel of the smaller cluster above which two clusters are one band's.
constexpr double kShadingContact = 0.005;
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

// Also marks the uniform pixels in cells.scratch.
Histogram Count(const RgbImage& image, PixelCells& cells) {
    constexpr std::size_t kMinRows = 64;
    const auto rows = static_cast<std::size_t>(image.height);
    std::vector<Histogram> parts(ChunkCount(rows, kMinRows));
    ParallelChunks(rows, kMinRows, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        Histogram& part = parts[chunk];
        for (std::size_t y = begin; y < end; ++y)
            for (std::int32_t x = 0; x < image.width; ++x) {
                const std::size_t at = cells.at(x, static_cast<std::int64_t>(y));
                cells.scratch[at] = 0;
                if (cells.cells[at] & kLine)
                    continue;
                const Colour colour = image.pixels[at];
                AddTo(part.cells[CellOf(colour)], colour);
                if (Uniform(image, cells, x, static_cast<std::int64_t>(y))) {
                    AddTo(part.uniform[CellOf(colour)], colour);
                    cells.scratch[at] = 1;
                }
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
    std::vector<Shade> shades;
    CellSum sum;

    explicit Cluster(Colour c, bool shaded = true)
        : colour(c), shades(shaded ? ShadesOf(c) : std::vector<Shade>{{ToLab(c)}}) {}
    float distance(const Lab& lab) const {
        float best = std::numeric_limits<float>::max();
        for (const Shade& shade : shades)
            best = std::min(best, shade.distance(lab));
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

// Plain k-means on the points' colours, each cluster the mean of its points: the shades of a
// band fall into clusters of their own, joined afterwards. owner gets each point's cluster.
std::vector<Cluster> KMeans(const std::vector<Point>& points, std::size_t k,
                            std::vector<std::size_t>& owner) {
    std::vector<Cluster> clusters;
    for (const Cluster& seed : Seeds(points, k))
        clusters.emplace_back(seed.colour, false);
    owner.assign(points.size(), clusters.size());
    for (int iteration = 0;; ++iteration) {
        bool moved = false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const std::size_t nearest = Nearest(clusters, points[i].lab);
            moved = moved || nearest != owner[i];
            owner[i] = nearest;
        }
        std::vector<CellSum> sums(clusters.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            sums[owner[i]].add(points[i].sum);
        const bool done = !moved || iteration + 1 == kIterations;
        for (std::size_t c = 0; c < clusters.size(); ++c) {
            if (!done && sums[c].count > 0)
                clusters[c] = Cluster(sums[c].mean(), false);
            clusters[c].sum = sums[c];
        }
        if (done)
            return clusters;
    }
}

// How many pairs of side-by-side uniform pixels lie in each pair of clusters, their colours no
// further apart than a smooth shading's step: the shades of one band meet so, along their
// whole length, while two bands meet across an edge or a line.
std::vector<std::vector<std::uint64_t>> SmoothContacts(const RgbImage& image,
                                                       const PixelCells& cells,
                                                       const std::vector<std::uint32_t>& clusterOf,
                                                       std::size_t clusters) {
    constexpr std::size_t kMinRows = 64;
    const auto rows = static_cast<std::size_t>(image.height);
    using Matrix = std::vector<std::vector<std::uint64_t>>;
    std::vector<Matrix> parts(ChunkCount(rows, kMinRows),
                              Matrix(clusters, std::vector<std::uint64_t>(clusters)));
    const auto smooth = [](Colour a, Colour b) {
        for (unsigned shift = 0; shift < 24; shift += 8)
            if (std::abs(static_cast<int>((a >> shift) & 255) -
                         static_cast<int>((b >> shift) & 255)) > kSmoothStep)
                return false;
        return true;
    };
    ParallelChunks(rows, kMinRows, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        Matrix& contacts = parts[chunk];
        for (std::size_t y = begin; y < end; ++y)
            for (std::int32_t x = 0; x < image.width; ++x) {
                const std::size_t at = cells.at(x, static_cast<std::int64_t>(y));
                if (!cells.scratch[at])
                    continue;
                const Colour colour = image.pixels[at];
                const std::uint32_t own = clusterOf[CellOf(colour)];
                for (const std::size_t other :
                     {x + 1 < image.width ? at + 1 : at,
                      y + 1 < rows ? at + static_cast<std::size_t>(image.width) : at})
                    if (other != at && cells.scratch[other]) {
                        const Colour next = image.pixels[other];
                        const std::uint32_t theirs = clusterOf[CellOf(next)];
                        if (theirs != own && smooth(colour, next)) {
                            ++contacts[own][theirs];
                            ++contacts[theirs][own];
                        }
                    }
            }
    });
    Matrix total = std::move(parts[0]);
    for (std::size_t p = 1; p < parts.size(); ++p)
        for (std::size_t i = 0; i < clusters; ++i)
            for (std::size_t j = 0; j < clusters; ++j)
                total[i][j] += parts[p][i][j];
    return total;
}

// Joins clusters into bands, the pair of most smooth contact for its size first: until wanted
// remain, or, asked for none, while the contact is a shading's. Short of such contacts, the
// lightest of what remains is dropped (a mixture of fringes, whose pixels go to the nearest
// band) where contacts were counted, or else the nearest two join. Dropped ones get kDropped.
constexpr std::size_t kDropped = std::numeric_limits<std::size_t>::max();

std::vector<std::size_t> JoinShades(std::vector<std::vector<std::uint64_t>> contacts,
                                    const std::vector<Cluster>& clusters, bool contactsCounted,
                                    std::size_t wanted) {
    const std::size_t n = clusters.size();
    std::vector<std::uint64_t> weight;
    std::vector<std::size_t> group(n);
    for (std::size_t i = 0; i < n; ++i) {
        weight.push_back(std::max<std::uint64_t>(clusters[i].sum.count, 1));
        group[i] = i;
    }
    std::vector<bool> alive(n, true);
    const auto merge = [&](std::size_t first, std::size_t second) {
        alive[second] = false;
        weight[first] += weight[second];
        for (std::size_t k = 0; k < n; ++k) {
            contacts[first][k] += contacts[second][k];
            contacts[k][first] += contacts[k][second];
        }
        contacts[first][first] = 0;
        std::replace(group.begin(), group.end(), second, first);
    };
    for (std::size_t remaining = n; remaining > std::max<std::size_t>(wanted, 1); --remaining) {
        double best = -1;
        float nearest = std::numeric_limits<float>::max();
        std::size_t first = 0, second = 0, lightest = 0, nearFirst = 0, nearSecond = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (!alive[i])
                continue;
            if (!alive[lightest] || weight[i] < weight[lightest])
                lightest = i;
            for (std::size_t j = i + 1; j < n; ++j) {
                if (!alive[j])
                    continue;
                const double ratio = static_cast<double>(contacts[i][j]) /
                                     static_cast<double>(std::min(weight[i], weight[j]));
                if (ratio > best) {
                    best = ratio;
                    first = i;
                    second = j;
                }
                if (const float d = clusters[i].distance(ToLab(clusters[j].colour)); d < nearest) {
                    nearest = d;
                    nearFirst = i;
                    nearSecond = j;
                }
            }
        }
        if (best >= kShadingContact) {
            merge(first, second);
        } else if (wanted == 0) {
            break;
        } else if (contactsCounted) {
            alive[lightest] = false;
            std::replace(group.begin(), group.end(), lightest, kDropped);
        } else {
            merge(nearFirst, nearSecond);
        }
    }
    return group;
}

// Bands of colours nearer than noise are one, of the heavier one's colour; ones of no real
// share are none.
void MergeClose(std::vector<Cluster>& clusters, std::uint64_t total) {
    for (;;) {
        std::size_t first = 0, second = 0;
        float closest = kMergeDistance;
        for (std::size_t i = 0; i < clusters.size(); ++i)
            for (std::size_t j = i + 1; j < clusters.size(); ++j)
                if (const float d =
                        BandDistance(ToLab(clusters[i].colour), ToLab(clusters[j].colour));
                    d < closest) {
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

std::vector<Colour> FindBands(const RgbImage& image, PixelCells& cells, int wanted) {
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
        const bool useUniform =
            static_cast<double>(uniform) >= kLeastUniformShare * static_cast<double>(all);
        const std::vector<CellSum>& counted = useUniform ? histogram.uniform : histogram.cells;
        std::vector<Point> points;
        std::uint64_t total = 0;
        for (std::size_t c = 0; c < kCellCount; ++c)
            if (const CellSum& sum = counted[c]; sum.count > 0) {
                points.push_back({ToLab(sum.mean()), sum, c});
                total += sum.count;
            }
        if (points.empty())
            return bands;  // nothing but linework
        std::vector<std::size_t> owner;
        const std::vector<Cluster> shades = KMeans(points, kShadeClusters, owner);
        std::vector<std::uint32_t> clusterOf(kCellCount, 0);
        for (std::size_t i = 0; i < points.size(); ++i)
            clusterOf[points[i].cell] = static_cast<std::uint32_t>(owner[i]);
        const std::vector<std::size_t> group = JoinShades(
            useUniform ? SmoothContacts(image, cells, clusterOf, shades.size())
                       : std::vector(shades.size(), std::vector<std::uint64_t>(shades.size())),
            shades, useUniform, static_cast<std::size_t>(wanted));
        std::vector<Cluster> joined;
        for (std::size_t g = 0; g < shades.size(); ++g) {
            std::vector<std::size_t> members(points.size());
            CellSum sum;
            for (std::size_t i = 0; i < points.size(); ++i) {
                members[i] = group[owner[i]];
                if (members[i] == g)
                    sum.add(points[i].sum);
            }
            if (sum.count == 0)
                continue;
            joined.emplace_back(CoveringColour(points, members, g));
            joined.back().sum = sum;
        }
        if (wanted == 0)
            MergeClose(joined, total);
        for (const Cluster& band : joined)
            bands.push_back(band.colour);
    }
    std::sort(bands.begin(), bands.end(), [](Colour a, Colour b) {
        const float la = ToLab(a).l, lb = ToLab(b).l;
        return la < lb || (la == lb && a < b);
    });
    return bands;
}

}  // namespace quarn
