#include "numbered_drawing.h"

#include <bit>
#include <vector>

#include "band_raster.h"
#include "depth_raster.h"

namespace quarn {

namespace {

// A set of triangle indices, one bit each, that tells an index's place among those it holds.
class ShowingTriangles {
  public:
    explicit ShowingTriangles(std::size_t triangles) : m_bits((triangles + 63) / 64, 0) {}

    void mark(std::size_t i) { m_bits[i / 64] |= std::uint64_t{1} << (i % 64); }

    // The indices held, in order; afterwards rank() may be asked.
    std::vector<std::size_t> list() {
        std::vector<std::size_t> held;
        m_before.resize(m_bits.size());
        for (std::size_t w = 0; w < m_bits.size(); ++w) {
            m_before[w] = held.size();
            for (std::uint64_t bits = m_bits[w]; bits != 0; bits &= bits - 1)
                held.push_back(w * 64 + std::size_t(std::countr_zero(bits)));
        }
        return held;
    }

    // How many held indices come before i.
    std::size_t rank(std::size_t i) const {
        const std::uint64_t below = (std::uint64_t{1} << (i % 64)) - 1;
        return m_before[i / 64] + std::size_t(std::popcount(m_bits[i / 64] & below));
    }

  private:
    std::vector<std::uint64_t> m_bits;
    std::vector<std::size_t> m_before;
};

}  // namespace

void DrawTriangleNumbersOf(PixelBuffer& numbers, std::int32_t top, const ProjectedScene& projected,
                           const PolygonPlan& plan, bool shaded, bool hiddenSurfaces) {
    const std::span<const Triangle> triangles = projected.indexed().first(plan.drawable);
    if (!hiddenSurfaces)
        DrawTriangleNumbers(numbers, top, plan.corners, triangles, shaded);
    else if (shaded)
        DrawNearestTriangleNumbers(numbers, top, plan.corners, projected.vertices.y, triangles);
    else
        DrawVisibleOutlineNumbers(numbers, top, plan.corners, projected.vertices.y, triangles);
}

std::optional<Colour> PaintNumberedPixels(std::span<Colour> pixels, const PixelBuffer& numbers,
                                          const ProjectedScene& projected, const PolygonPlan& plan,
                                          bool shaded) {
    const std::span<const Colour> numbered = numbers.pixels();
    if (!shaded) {
        for (std::size_t p = 0; p < pixels.size(); ++p)
            if (numbered[p] != 0)
                pixels[p] = kWhite;
        return std::nullopt;
    }
    if (plan.drawable == 0)
        return std::nullopt;
    ShowingTriangles showing(plan.drawable);
    for (const Colour number : numbered)
        if (number != 0)
            showing.mark(number - 1);
    showing.mark(plan.drawable - 1);  // the pen keeps its colour
    const std::vector<std::size_t> which = showing.list();
    std::vector<Colour> colours(which.size());
    ShadeTriangles(projected, which, colours.data());
    for (std::size_t p = 0; p < pixels.size(); ++p)
        if (const Colour number = numbered[p]; number != 0)
            pixels[p] = colours[showing.rank(number - 1)];
    return colours.back();
}

}  // namespace quarn
