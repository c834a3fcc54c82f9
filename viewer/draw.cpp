#include "draw.h"

#include "checked_float.h"
#include "scene.h"

namespace quarn {

namespace {

constexpr float kAmbient = 0.2f, kDiffuse = 0.4f, kSpecular = 0.4f, kShininess = 0.5f;

Point PixelOf(const WindowMapping& mapping, float zoom, const Vec3& corner) {
    Point p;
    WorldToDevice(mapping, CheckedToFloat(double(zoom) * double(corner.x)),
                  CheckedToFloat(double(zoom) * double(corner.z)), p.x, p.y);
    return p;
}

}  // namespace

void DrawProjected(const ProjectedScene& projected, float zoom, bool shaded, Canvas& canvas) {
    if (shaded) {
        canvas.brushStyle = BrushStyle::Solid;
    } else {
        canvas.brushStyle = BrushStyle::Clear;
        canvas.penColour = kWhite;
    }
    const WindowMapping& mapping = projected.mapping;
    for (const ProjectedTriangle& t : projected.triangles) {
        const Point a = PixelOf(mapping, zoom, t.corner1), b = PixelOf(mapping, zoom, t.corner2),
                    c = PixelOf(mapping, zoom, t.corner3);
        if (shaded) {
            const Colour colour = ComputeShadedColour(
                t.corner1, t.corner2, t.corner3, projected.rotatedSun, static_cast<float>(t.colour),
                kAmbient, kDiffuse, kSpecular, kShininess);
            canvas.brushColour = colour;
            canvas.penColour = colour;
        }
        canvas.polygon(a, b, c);
    }
}

void Draw_and_View(Canvas& canvas) {
    if (!ProjectedList)
        return;
    // Consumed even when a fault ends the drawing half-way.
    const ProjectedScene projected = std::move(*ProjectedList);
    ProjectedList.reset();
    DrawProjected(projected, ZoomFactor, ShadedMode, canvas);
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
