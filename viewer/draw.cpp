#include "draw.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <vector>

#include "numbered_drawing.h"
#include "pixel_buffer.h"
#include "polygon_plan.h"

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

// The same picture and canvas state as DrawOneByOne on this canvas, on all cores, as numbers
// first (numbered_drawing.h).
void DrawPlanned(const ProjectedScene& projected, float zoom, bool shaded, bool hiddenSurfaces,
                 PixelCanvas& canvas) {
    // The corners' memory stays for the next drawing, as the projection's does.
    thread_local std::vector<Point> spareCorners;
    PolygonPlan plan = PlanPolygons(projected, zoom, shaded, std::move(spareCorners));
    PixelBuffer& picture = canvas.buffer();
    PixelBuffer numbers(picture.width(), picture.height(), 0);
    DrawTriangleNumbersOf(numbers, 0, projected, plan, shaded, hiddenSurfaces);
    if (const auto last =
            PaintNumberedPixels(picture.writablePixels(), numbers, projected, plan, shaded)) {
        canvas.brushColour = *last;
        canvas.penColour = *last;
    }
    spareCorners = std::move(plan.corners);
    if (plan.fault)
        std::rethrow_exception(plan.fault);
}

// Rows per band of a banded drawing: bands of about kBandPixels, so that a large picture's
// numbers and depths take a small part of the memory of the picture itself.
constexpr std::int64_t kBandPixels = std::int64_t{1} << 22;

std::int32_t BandRows(std::int32_t width, std::int32_t height) {
    return std::int32_t(
        std::clamp<std::int64_t>(kBandPixels / std::max(width, 1), 1, std::max(height, 1)));
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

void DrawInBands(const ProjectedScene& projected, float zoom, bool shaded, bool hiddenSurfaces,
                 std::int32_t width, std::int32_t height, std::int32_t rows, bool bottomUp,
                 const BandTaker& take) {
    const PolygonPlan plan = PlanPolygons(projected, zoom, shaded, {});
    if (plan.fault)
        std::rethrow_exception(plan.fault);
    const std::int32_t bands = (height + rows - 1) / rows;
    for (std::int32_t k = 0; k < bands; ++k) {
        const std::int32_t top = (bottomUp ? bands - 1 - k : k) * rows;
        PixelBuffer band(width, std::min(rows, height - top), kBlack);
        {
            PixelBuffer numbers(band.width(), band.height(), 0);
            DrawTriangleNumbersOf(numbers, top, projected, plan, shaded, hiddenSurfaces);
            PaintNumberedPixels(band.writablePixels(), numbers, projected, plan, shaded);
        }
        take(top, band);
    }
}

void DrawPictureInBands(ProjectedScene projected, const DrawingMode& mode, std::int32_t width,
                        std::int32_t height, bool bottomUp, const BandTaker& take) {
    DrawInBands(projected, mode.zoom, mode.shaded, mode.hiddenSurfaces, width, height,
                BandRows(width, height), bottomUp, take);
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

}  // namespace quarn
