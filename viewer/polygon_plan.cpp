#include "polygon_plan.h"

#include <algorithm>
#include <cmath>

#include "checked_float.h"
#include "parallel.h"
#include "shading_batch.h"
#include "window_mapping.h"

namespace quarn {

namespace {

constexpr float kAmbient = 0.2f, kDiffuse = 0.4f, kSpecular = 0.4f;
constexpr std::size_t kVerticesPerWorker = 1 << 15, kTrianglesPerWorker = 1 << 14;

// CornerPixel without its fault checks; false (corner unset) where it might fault.
bool MapCorner(const WindowMapping& m, float zoom, float x, float z, Point& corner) {
    constexpr double kShift = 6755399441055744.0;  // adding and taking 1.5 * 2^52 rounds to even
    constexpr double kLimit = 2147483647.0;
    const double px = double(m.sx) * double(float(double(zoom) * double(x))) + double(m.ox);
    const double py = double(m.sy) * double(float(double(zoom) * double(z))) + double(m.oy);
    if (!(std::fabs(px) < kLimit && std::fabs(py) < kLimit))
        return false;
    corner.x = static_cast<std::int32_t>((px + kShift) - kShift);
    corner.y = static_cast<std::int32_t>((py + kShift) - kShift);
    return true;
}

// Indices begin..end-1 for which unsure(i), in order.
template <typename Unsure>
void Collect(std::size_t begin, std::size_t end, Unsure unsure, std::vector<std::size_t>& out) {
    for (std::size_t i = begin; i < end; ++i)
        if (unsure(i))
            out.push_back(i);
}

// Runs collect(begin, end, list) over count items on all cores; the lists joined in order.
template <typename CollectRange>
std::vector<std::size_t> CollectAll(std::size_t count, std::size_t perWorker,
                                    CollectRange collect) {
    std::vector<std::vector<std::size_t>> lists(ChunkCount(count, perWorker));
    ParallelChunks(count, perWorker, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        collect(begin, end, lists[chunk]);
    });
    std::vector<std::size_t> all;
    for (const auto& list : lists)
        all.insert(all.end(), list.begin(), list.end());
    return all;
}

Vec3 At(const ViewVertices& v, std::int32_t index) {
    const auto n = std::size_t(index);
    return {v.x[n], v.y[n], v.z[n]};
}

// The largest |coordinate| of the vertices, NaN when some coordinate is not finite.
float Reach(const ViewVertices& v) {
    std::vector<float> reaches(ChunkCount(v.x.size(), kVerticesPerWorker), 0.0f);
    ParallelChunks(v.x.size(), kVerticesPerWorker,
                   [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                       float reach = 0, probe = 0;
                       for (std::size_t i = begin; i < end; ++i) {
                           for (const float c : {v.x[i], v.y[i], v.z[i]}) {
                               reach = std::max(reach, std::fabs(c));
                               probe += 0.0f * c;
                           }
                       }
                       reaches[chunk] = reach + probe;
                   });
    float reach = 0, probe = 0;
    for (const float r : reaches) {
        reach = std::max(reach, r);
        probe += 0.0f * r;
    }
    return reach + probe;
}

}  // namespace

Point CornerPixel(const WindowMapping& mapping, float zoom, const Vec3& corner) {
    Point p;
    WorldToDevice(mapping, CheckedToFloat(double(zoom) * double(corner.x)),
                  CheckedToFloat(double(zoom) * double(corner.z)), p.x, p.y);
    return p;
}

Colour ShadedColourOf(const ProjectedScene& projected, std::size_t i) {
    const ProjectedTriangle t = projected.triangle(i);
    return ComputeShadedColour(t.corner1, t.corner2, t.corner3, projected.rotatedSun,
                               static_cast<float>(t.colour), kAmbient, kDiffuse, kSpecular, 0.5f);
}

PolygonPlan PlanPolygons(const ProjectedScene& projected, float zoom, bool shaded,
                         std::vector<Point> reuse) {
    const ViewVertices& v = projected.vertices;
    const WindowMapping& mapping = projected.mapping;
    const std::span<const Triangle> triangles = projected.indexed();
    PolygonPlan plan;
    if (reuse.capacity() <= 2 * v.x.size())  // a much smaller scene gives the memory back
        plan.corners = std::move(reuse);
    plan.corners.resize(v.x.size());
    const std::vector<std::size_t> unsureVertices =
        CollectAll(v.x.size(), kVerticesPerWorker, [&](std::size_t b, std::size_t e, auto& out) {
            Collect(
                b, e,
                [&](std::size_t i) {
                    return !MapCorner(mapping, zoom, v.x[i], v.z[i], plan.corners[i]);
                },
                out);
        });
    std::vector<std::size_t> candidates;
    // Corners within one bound on every axis: no triangle's shading can fault.
    const double reach = shaded ? double(Reach(v)) : 0.0;
    if (shaded && !ShadingSurelyFinite(2 * reach, reach, projected.rotatedSun)) {
        candidates = CollectAll(
            triangles.size(), kTrianglesPerWorker, [&](std::size_t b, std::size_t e, auto& out) {
                Collect(
                    b, e,
                    [&](std::size_t i) {
                        const Triangle& t = triangles[i];
                        return !ShadingSurelyFinite(At(v, t.a), At(v, t.b), At(v, t.c),
                                                    projected.rotatedSun);
                    },
                    out);
            });
    }
    if (!unsureVertices.empty()) {
        std::vector<bool> unsure(v.x.size());
        for (const std::size_t i : unsureVertices)
            unsure[i] = true;
        for (std::size_t i = 0; i < triangles.size(); ++i) {
            const Triangle& t = triangles[i];
            if (unsure[std::size_t(t.a)] || unsure[std::size_t(t.b)] || unsure[std::size_t(t.c)])
                candidates.push_back(i);
        }
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    }
    // The one-by-one computation decides the doubtful triangles, up to the first fault.
    plan.drawable = triangles.size();
    for (const std::size_t i : candidates) {
        try {
            const ProjectedTriangle t = projected.triangle(i);
            const Point a = CornerPixel(mapping, zoom, t.corner1),
                        b = CornerPixel(mapping, zoom, t.corner2),
                        c = CornerPixel(mapping, zoom, t.corner3);
            if (shaded)
                ShadedColourOf(projected, i);
            plan.corners[std::size_t(triangles[i].a)] = a;
            plan.corners[std::size_t(triangles[i].b)] = b;
            plan.corners[std::size_t(triangles[i].c)] = c;
        } catch (...) {
            plan.drawable = i;
            plan.fault = std::current_exception();
            break;
        }
    }
    return plan;
}

void ShadeTriangles(const ProjectedScene& projected, std::span<const std::size_t> which,
                    Colour* colours) {
    const ViewVertices& v = projected.vertices;
    const std::span<const Triangle> triangles = projected.indexed();
    ParallelChunks(
        which.size(), kTrianglesPerWorker, [&](std::size_t, std::size_t begin, std::size_t end) {
            ShadeBlockInput block;
            std::uint32_t unsure[kShadeBlockSize];
            for (std::size_t first = begin; first < end; first += kShadeBlockSize) {
                const std::size_t count = std::min(kShadeBlockSize, end - first);
                for (std::size_t k = 0; k < count; ++k) {
                    const Triangle& t = triangles[which[first + k]];
                    const auto a = std::size_t(t.a), b = std::size_t(t.b), c = std::size_t(t.c);
                    block.x1[k] = v.x[a], block.y1[k] = v.y[a], block.z1[k] = v.z[a];
                    block.x2[k] = v.x[b], block.y2[k] = v.y[b], block.z2[k] = v.z[b];
                    block.x3[k] = v.x[c], block.y3[k] = v.y[c], block.z3[k] = v.z[c];
                    block.hue[k] = static_cast<float>(t.colour);
                }
                ShadeBlock(block, count, projected.rotatedSun, kAmbient, kDiffuse, kSpecular,
                           colours + first, unsure);
                for (std::size_t k = 0; k < count; ++k)
                    if (unsure[k])
                        colours[first + k] = ShadedColourOf(projected, which[first + k]);
            }
        });
}

}  // namespace quarn
