#include "triangle_error.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quarn {

namespace {

// The integer x bound that an edge from one corner to the next sets on each row, stepped from
// row to row without dividing: floor(dx (y - y0) / |dy|) from x0, the row's last x inside the
// edge's half-plane when dy > 0 and its first x when dy < 0. A horizontal edge bounds no row:
// the triangle lies wholly on its inner side.
class EdgeBound {
  public:
    EdgeBound(GridPoint from, GridPoint to, std::int32_t firstRow)
        : m_x0(from.x), m_upper(to.y > from.y), m_sloped(to.y != from.y) {
        if (!m_sloped)
            return;
        const std::int64_t dx = std::int64_t(to.x) - from.x;
        m_dy = std::abs(std::int64_t(to.y) - from.y);
        m_stepQuotient = FloorDiv(dx, m_dy);
        m_stepRemainder = dx - m_stepQuotient * m_dy;
        const std::int64_t start = dx * (std::int64_t(firstRow) - from.y);
        m_quotient = FloorDiv(start, m_dy);
        m_remainder = start - m_quotient * m_dy;
    }

    bool sloped() const { return m_sloped; }
    bool upper() const { return m_upper; }
    std::int64_t x() const { return m_upper ? m_x0 + m_quotient : m_x0 - m_quotient; }
    void nextRow() {
        m_quotient += m_stepQuotient;
        m_remainder += m_stepRemainder;
        if (m_remainder >= m_dy) {
            m_remainder -= m_dy;
            ++m_quotient;
        }
    }

  private:
    static std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
        const std::int64_t q = n / d;
        return q * d > n ? q - 1 : q;
    }

    std::int64_t m_x0;
    bool m_upper, m_sloped;
    std::int64_t m_dy = 1, m_stepQuotient = 0, m_stepRemainder = 0;
    std::int64_t m_quotient = 0, m_remainder = 0;
};

// Twice the signed area of (from, to, r): the weight of the corner opposite the edge.
std::int64_t EdgeWeight(GridPoint from, GridPoint to, std::int64_t x, std::int64_t y) {
    return (std::int64_t(to.x) - from.x) * (y - from.y) -
           (std::int64_t(to.y) - from.y) * (x - from.x);
}

double Height(const HeightGrid& grid, GridPoint p) {
    return double(grid.heights[std::size_t(p.y) * std::size_t(grid.cols) + std::size_t(p.x)]);
}

// Twice a triangle's area below which every weight times a float height is exact.
constexpr std::int64_t kExactWeights = std::int64_t(1) << 29;

// The scan of WorstSample; a flat triangle's weighted sum of heights is exactly D z below
// D = 2^29, so its error needs no weights.
template <bool kFlat>
SampleError ScanRows(const HeightGrid& grid, GridPoint a, GridPoint b, GridPoint c) {
    const double za = Height(grid, a), zb = Height(grid, b), zc = Height(grid, c);
    const double area2 = double(EdgeWeight(a, b, c.x, c.y));
    const std::int32_t top = std::min({a.y, b.y, c.y}), bottom = std::max({a.y, b.y, c.y});
    const std::int64_t left = std::min({a.x, b.x, c.x}), right = std::max({a.x, b.x, c.x});
    std::array<EdgeBound, 3> bounds{EdgeBound(a, b, top), EdgeBound(b, c, top),
                                    EdgeBound(c, a, top)};
    const double flatSum = area2 * za;
    // wa and wb grow by these from one x to the next.
    const double stepA = -(double(c.y) - b.y), stepB = -(double(a.y) - c.y);

    double worst = -1;
    std::int64_t worstSample = 0;
    for (std::int64_t y = top; y <= bottom; ++y) {
        std::int64_t first = left, last = right;
        for (EdgeBound& bound : bounds) {
            if (!bound.sloped())
                continue;
            if (bound.upper())
                last = std::min(last, bound.x());
            else
                first = std::max(first, bound.x());
            bound.nextRow();
        }
        const float* row = grid.heights.data() + y * grid.cols;
        double wa = double(EdgeWeight(b, c, first, y));
        double wb = double(EdgeWeight(c, a, first, y));
        for (std::int64_t x = first; x <= last; ++x) {
            const double wc = area2 - wa - wb;
            const double sum = kFlat ? flatSum : wa * za + wb * zb + wc * zc;
            const double error = std::fabs(sum - area2 * double(row[x]));
            if (error > worst) {
                worst = error;
                worstSample = y * grid.cols + x;
            }
            wa += stepA;
            wb += stepB;
        }
    }
    return {static_cast<std::int32_t>(worstSample), worst / area2};
}

}  // namespace

double ErrorAt(const HeightGrid& grid, GridPoint a, GridPoint b, GridPoint c, GridPoint p) {
    const double wa = double(EdgeWeight(b, c, p.x, p.y));
    const double wb = double(EdgeWeight(c, a, p.x, p.y));
    const double wc = double(EdgeWeight(a, b, p.x, p.y));
    if (wa < 0 || wb < 0 || wc < 0)
        return -1;
    const double area2 = double(EdgeWeight(a, b, c.x, c.y));
    return std::fabs(wa * Height(grid, a) + wb * Height(grid, b) + wc * Height(grid, c) -
                     area2 * Height(grid, p)) /
           area2;
}

SampleError WorstSample(const HeightGrid& grid, GridPoint a, GridPoint b, GridPoint c) {
    const double za = Height(grid, a);
    const bool flat = Height(grid, b) == za && Height(grid, c) == za &&
                      EdgeWeight(a, b, c.x, c.y) < kExactWeights;
    return flat ? ScanRows<true>(grid, a, b, c) : ScanRows<false>(grid, a, b, c);
}

SampleError WorstSampleOf(const HeightGrid& grid, const GridTriangulation& mesh,
                          std::int32_t triangle) {
    const auto& corners = mesh.corners(triangle);
    return WorstSample(grid, mesh.point(corners[0]), mesh.point(corners[1]),
                       mesh.point(corners[2]));
}

}  // namespace quarn
