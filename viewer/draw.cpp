#include "draw.h"

#include <bit>
#include <cstdint>
#include <exception>
#include <vector>

#include "band_raster.h"
#include "depth_raster.h"
#include "pixel_buffer.h"
#include "polygon_plan.h"
#include "scene.h"

namespace quarn {

namespace {

void PrepareCanvas(Canvas& canvas, bool shaded) {
    if (shaded) {
        canvas.brushStyle = BrushStyle::Solid;
    } else {
        canvas.brushStyle = BrushStyle::Clear;
        canvas.penColour = kWhite;
    }
}

// One polygon per triangle through the canvas, for canvases other than a PixelCanvas.
void DrawOneByOne(const ProjectedScene& projected, float zoom, bool shaded, Canvas& canvas) {
    for (std::size_t i = 0; i < projected.size(); ++i) {
        const ProjectedTriangle t = projected.triangle(i);
        const Point a = CornerPixel(projected.mapping, zoom, t.corner1),
                    b = CornerPixel(projected.mapping, zoom, t.corner2),
                    c = CornerPixel(projected.mapping, zoom, t.corner3);
        if (shaded) {
            const Colour colour = ShadedColourOf(projected, i);
            canvas.brushColour = colour;
            canvas.penColour = colour;
        }
        canvas.polygon(a, b, c);
    }
}

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

// The same picture and canvas state as DrawOneByOne on this canvas, on all cores. The
// triangles are drawn as numbers first: wire, the numbered pixels turn white; shaded, they
// take the colours of their triangles, so that only the colours of those that show (and of
// the last, which the pen keeps) are worked out. With hidden surfaces a pixel keeps the nearest
// triangle's number instead of the latest, and wire outlines behind surfaces get none.
void DrawPlanned(const ProjectedScene& projected, float zoom, bool shaded, bool hiddenSurfaces,
                 PixelCanvas& canvas) {
    // The corners' memory stays for the next drawing, as the projection's does.
    thread_local std::vector<Point> spareCorners;
    PolygonPlan plan = PlanPolygons(projected, zoom, shaded, std::move(spareCorners));
    const std::span<const Triangle> triangles = projected.indexed().first(plan.drawable);
    PixelBuffer& picture = canvas.buffer();
    PixelBuffer numbers(picture.width(), picture.height(), 0);
    if (!hiddenSurfaces)
        DrawTriangleNumbers(numbers, plan.corners, triangles, shaded);
    else if (shaded)
        DrawNearestTriangleNumbers(numbers, plan.corners, projected.vertices.y, triangles);
    else
        DrawVisibleOutlineNumbers(numbers, plan.corners, projected.vertices.y, triangles);
    if (!shaded) {
        const std::span<Colour> pixels = picture.writablePixels();
        for (std::size_t p = 0; p < pixels.size(); ++p)
            if (numbers.pixels()[p] != 0)
                pixels[p] = kWhite;
    } else if (!triangles.empty()) {
        ShowingTriangles showing(triangles.size());
        for (const Colour number : numbers.pixels())
            if (number != 0)
                showing.mark(number - 1);
        showing.mark(triangles.size() - 1);  // the pen keeps its colour
        const std::vector<std::size_t> which = showing.list();
        std::vector<Colour> colours(which.size());
        ShadeTriangles(projected, which, colours.data());
        const std::span<Colour> pixels = picture.writablePixels();
        for (std::size_t p = 0; p < pixels.size(); ++p)
            if (const Colour number = numbers.pixels()[p]; number != 0)
                pixels[p] = colours[showing.rank(number - 1)];
        canvas.brushColour = colours.back();
        canvas.penColour = colours.back();
    }
    spareCorners = std::move(plan.corners);
    if (plan.fault)
        std::rethrow_exception(plan.fault);
}

}  // namespace

void DrawProjected(const ProjectedScene& projected, float zoom, bool shaded, Canvas& canvas,
                   bool hiddenSurfaces) {
    PrepareCanvas(canvas, shaded);
    if (auto* pixels = dynamic_cast<PixelCanvas*>(&canvas))
        DrawPlanned(projected, zoom, shaded, hiddenSurfaces, *pixels);
    else
        DrawOneByOne(projected, zoom, shaded, canvas);
}

void Draw_and_View(Canvas& canvas) {
    if (!ProjectedList)
        return;
    // Consumed even when a fault ends the drawing half-way.
    ProjectedScene projected = std::move(*ProjectedList);
    ProjectedList.reset();
    DrawProjected(projected, ZoomFactor, ShadedMode, canvas, HiddenSurfaces);
    KeepForReuse(std::move(projected));
}

void ClearPicture(Canvas& canvas, std::int32_t width, std::int32_t height) {
    canvas.brushColour = kBlack;
    canvas.brushStyle = BrushStyle::Solid;
    // The clearing rectangle stops short of the last column and row; blacken the whole picture
    // first so that nothing of an earlier one stays there.
    const Colour pen = canvas.penColour;
    canvas.penColour = kBlack;
    canvas.rectangle(0, 0, width, height);
    canvas.penColour = pen;
    canvas.rectangle(0, 0, width - 1, height - 1);
}

bool ProjectClearDraw(Canvas& canvas, std::int32_t width, std::int32_t height) {
    if (!Project_Scene(width, height))
        return false;
    ClearPicture(canvas, width, height);
    Draw_and_View(canvas);
    return true;
}

bool RenderScene(Canvas& canvas, std::int32_t width, std::int32_t height) {
    const Colour savedColour = canvas.brushColour;
    const BrushStyle savedStyle = canvas.brushStyle;
    const bool ok = ProjectClearDraw(canvas, width, height);
    canvas.brushColour = savedColour;
    canvas.brushStyle = savedStyle;
    return ok;
}

}  // namespace quarn
