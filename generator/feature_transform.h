// Exact Euclidean feature transform of a band of rows (Felzenszwalb and Huttenlocher).
//
// For the pixels wanted in a band of a map's rows it finds the nearest feature pixel anywhere
// on the map and the distance to it, in pixels between centres. It is separable: the nearest
// feature within each column first, then the lower envelope of parabolas along each row, over
// windows of columns around the wanted pixels wide enough to hold their nearest features. Of
// features equally near it picks the leftmost, then the upper one. The rows outside the band
// enter only through two seeds per column, the last feature row above the band and the first
// one below it, so a map is done band after band in memory for one band: a Row per pixel, Row
// being the smallest type that holds the map's rows (its largest value meaning none), beside a
// few values per column. Pixels are told apart by a level byte each: isFeature(level) says
// which are features. Edge cases: with no feature in any column nothing is reported; an empty
// band reports nothing.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace quarn {

/// Columns begin..end - 1 of a row.
struct ColumnSpan {
    std::int32_t begin = 0, end = 0;
};

template <typename Row>
class FeatureTransform {
  public:
    static constexpr Row kNoRow = std::numeric_limits<Row>::max();

    /// Where a band lies on the map and what lies beyond it.
    struct Band {
        std::int32_t top = 0, bottom = 0;         // the band's rows, top to bottom - 1
        std::int32_t first = 0, last = -1;        // the rows reported, within the band
        const std::uint8_t* levels = nullptr;     // the band's level bytes, row after row
        const std::int32_t* lastAbove = nullptr;  // per column the last feature row above, or -1
        const Row* firstBelow = nullptr;  // per column the first feature row from bottom, or none
    };

    /// A transform for maps width pixels wide, in bands of at most bandRows rows.
    FeatureTransform(std::int32_t width, std::int32_t bandRows)
        : m_width(width),
          m_below(Size(width) * Size(bandRows)),
          m_above(Size(width)),
          m_nearest(Size(width)),
          m_sites(Size(width)),
          m_bounds(Size(width) + 1),
          m_cost(Size(width)) {}

    /// Calls found(x, y, featureX, featureY, distance) for each pixel of rows first..last in
    /// the spans(y) gives (a range of ColumnSpan, left to right, apart), rows in order and
    /// each row from the left.
    template <typename IsFeature, typename Spans, typename Found>
    void run(const Band& band, IsFeature isFeature, Spans spans, Found found) {
        if (band.first > band.last)
            return;
        nearestBelow(band, isFeature);
        for (std::int32_t x = 0; x < m_width; ++x)
            m_above[Size(x)] = Row(band.lastAbove[x] + 1);
        for (std::int32_t y = band.top; y <= band.last; ++y) {
            const std::uint8_t* levels = band.levels + Size(y - band.top) * Size(m_width);
            // Without branches, so that the compiler can do many columns at once.
            for (std::int32_t x = 0; x < m_width; ++x)
                m_above[Size(x)] =
                    std::max(m_above[Size(x)], isFeature(levels[x]) ? Row(y + 1) : Row(0));
            if (y < band.first)
                continue;
            const Row* below = m_below.data() + Size(y - band.first) * Size(m_width);
            const auto rowSpans = spans(y);
            for (auto span = rowSpans.begin(); span != rowSpans.end();) {
                // One window for the spans whose windows overlap.
                auto [from, to] = window(*span, levels, isFeature);
                auto next = span + 1;
                for (; next != rowSpans.end(); ++next) {
                    const auto [nextFrom, nextTo] = window(*next, levels, isFeature);
                    if (nextFrom > to)
                        break;
                    to = std::max(to, nextTo);
                }
                nearestInWindow(y, below, from, to, span, next, found);
                span = next;
            }
        }
    }

  private:
    static std::size_t Size(std::int32_t n) { return static_cast<std::size_t>(n); }

    // The columns that hold the nearest features of a span's pixels. A feature just beside the
    // span caps each pixel's distance at its distance to that feature; without one, a span's
    // pixels seldom lie farther from their nearest feature than the span is long.
    template <typename IsFeature>
    std::pair<std::int32_t, std::int32_t> window(const ColumnSpan& span, const std::uint8_t* levels,
                                                 IsFeature& isFeature) const {
        const std::int32_t length = span.end - span.begin;
        const bool left = span.begin > 0 && isFeature(levels[span.begin - 1]);
        const bool right = span.end < m_width && isFeature(levels[span.end]);
        const std::int32_t from = left ? span.begin - 1 : span.begin - length - (right ? 0 : 1);
        const std::int32_t to = right ? span.end + 1 : span.end + length + (left ? 0 : 1);
        return {std::max(0, from), std::min(m_width, to)};
    }

    // The first feature row at or below each pixel of rows first..bottom - 1, from the seed.
    template <typename IsFeature>
    void nearestBelow(const Band& band, IsFeature& isFeature) {
        const Row* next = band.firstBelow;
        for (std::int32_t y = band.bottom - 1; y >= band.first; --y) {
            Row* row = m_below.data() + Size(y - band.first) * Size(m_width);
            const std::uint8_t* levels = band.levels + Size(y - band.top) * Size(m_width);
            for (std::int32_t x = 0; x < m_width; ++x)
                row[x] = std::min(next[x], isFeature(levels[x]) ? Row(y) : kNoRow);
            next = row;
        }
    }

    // The nearest features of the pixels of spans..end, from the columns from..to - 1
    // and, where one of the columns outside could hold a feature as near, from a window wide
    // enough. The pick is the feature at the least squared distance, of those the leftmost,
    // then the upper one, so it does not depend on the window once all of those lie in it.
    template <typename SpanIt, typename Found>
    void nearestInWindow(std::int32_t y, const Row* below, std::int32_t from, std::int32_t to,
                         SpanIt spans, SpanIt end, Found& found) {
        for (;;) {
            const std::int32_t top = envelope(y, below, from, to);
            if (top < 0) {
                if (from == 0 && to == m_width)
                    return;  // no feature in the row's columns
                from = 0, to = m_width;
                continue;
            }
            m_hits.clear();
            std::int32_t wideFrom = from, wideTo = to, k = 0;
            for (SpanIt span = spans; span != end; ++span)
                for (std::int32_t q = span->begin; q < span->end; ++q) {
                    while (m_bounds[Size(k) + 1] < q)
                        ++k;
                    const std::int32_t v = m_sites[Size(k)];
                    const std::int64_t dx = v - q, dy = std::int64_t{m_nearest[Size(v)]} - y;
                    const std::int64_t squared = dx * dx + dy * dy;
                    m_hits.push_back({q, v, squared});
                    // Columns up to the distance away could hold a feature as near. (The
                    // square root of a whole number below 2^53 never rounds up to the next.)
                    const std::int64_t left = q - from + 1, right = to - q;
                    if ((from > 0 && left * left <= squared) ||
                        (to < m_width && right * right <= squared)) {
                        const auto reach = static_cast<std::int32_t>(std::sqrt(double(squared)));
                        wideFrom = std::min(wideFrom, std::max(0, q - reach));
                        wideTo = std::max(wideTo, std::min(m_width, q + reach + 1));
                    }
                }
            if (wideFrom == from && wideTo == to)
                break;
            from = wideFrom, to = wideTo;
        }
        for (const Hit& hit : m_hits)
            found(hit.x, y, hit.featureX, std::int32_t(m_nearest[Size(hit.featureX)]),
                  static_cast<float>(std::sqrt(double(hit.squared))));
    }

    // The lower envelope of the parabolas of the columns from..to - 1 that have a feature, in
    // m_sites and m_bounds; the index of its last parabola, or -1 for none.
    std::int32_t envelope(std::int32_t y, const Row* below, std::int32_t from, std::int32_t to) {
        constexpr double kInfinity = std::numeric_limits<double>::infinity();
        for (std::int32_t x = from; x < to; ++x) {
            const std::int32_t above = std::int32_t(m_above[Size(x)]) - 1;
            const Row next = below[x];
            m_nearest[Size(x)] = above < 0 || (next != kNoRow && std::int32_t(next) - y < y - above)
                                     ? next
                                     : Row(above);
        }
        std::int32_t top = -1;
        for (std::int32_t q = from; q < to; ++q) {
            if (m_nearest[Size(q)] == kNoRow)
                continue;
            const double dy = double(m_nearest[Size(q)]) - y;
            const double cost = dy * dy + double(q) * q;
            m_cost[Size(q)] = cost;
            double start = -kInfinity;
            while (top >= 0) {
                const std::int32_t v = m_sites[Size(top)];
                start = (cost - m_cost[Size(v)]) / (2.0 * (q - v));
                if (start > m_bounds[Size(top)])
                    break;
                --top;
                start = -kInfinity;
            }
            ++top;
            m_sites[Size(top)] = q;
            m_bounds[Size(top)] = start;
            m_bounds[Size(top) + 1] = kInfinity;
        }
        return top;
    }

    struct Hit {
        std::int32_t x, featureX;
        std::int64_t squared;
    };

    std::int32_t m_width;
    std::vector<Row> m_below;    // rows first..bottom - 1 of the band
    std::vector<Row> m_above;    // per column the last feature row so far plus one, or 0
    std::vector<Row> m_nearest;  // the nearest feature row in each column of a row
    std::vector<std::int32_t> m_sites;
    std::vector<double> m_bounds;
    std::vector<double> m_cost;  // the parabola's value at 0 plus its site squared
    std::vector<Hit> m_hits;     // the pixels of a window and their nearest features
};

}  // namespace quarn
