#include "draw.h"

#include "checked_float.h"
#include "projection.h"
#include "scene.h"
#include "window_mapping.h"

namespace quarn {

namespace {

constexpr float kAmbient = 0.2f, kDiffuse = 0.4f, kSpecular = 0.4f, kShininess = 0.5f;

Point PixelOf(const Vec3& corner) {
    Point p;
    WorldToDevice(CheckedToFloat(double(ZoomFactor) * double(corner.x)),
                  CheckedToFloat(double(ZoomFactor) * double(corner.z)), p.x, p.y);
    return p;
}

}  // namespace

void Draw_and_View(Canvas& canvas) {
    if (!ProjectedList.present)
        return;
    if (ShadedMode) {
        canvas.brushStyle = BrushStyle::Solid;
    } else {
        canvas.brushStyle = BrushStyle::Clear;
        canvas.penColour = kWhite;
    }
    for (const ProjectedTriangle& t : ProjectedList.triangles) {
        const Point a = PixelOf(t.corner1), b = PixelOf(t.corner2), c = PixelOf(t.corner3);
        if (ShadedMode) {
            const Colour colour = ComputeShadedColour(t.corner1, t.corner2, t.corner3, RotatedSun,
                                                      static_cast<float>(t.colour), kAmbient,
                                                      kDiffuse, kSpecular, kShininess);
            canvas.brushColour = colour;
            canvas.penColour = colour;
        }
        canvas.polygon(a, b, c);
    }
    ProjectedList.present = false;
    ProjectedList.triangles.clear();  // the capacity stays for the next redraw
}

void ClearPicture(Canvas& canvas, std::int32_t width, std::int32_t height) {
    canvas.brushColour = kBlack;
    canvas.brushStyle = BrushStyle::Solid;
    canvas.rectangle(0, 0, width - 1, height - 1);
}

bool RenderScene(Canvas& canvas, std::int32_t width, std::int32_t height) {
    const Colour savedColour = canvas.brushColour;
    const BrushStyle savedStyle = canvas.brushStyle;
    const bool ok = Project_Scene(width, height);
    if (ok)
        ClearPicture(canvas, width, height);
    Draw_and_View(canvas);
    canvas.brushColour = savedColour;
    canvas.brushStyle = savedStyle;
    return ok;
}

}  // namespace quarn
