// The viewer's first renderer, kept as the reference that the fast one must match pixel for
// pixel: every corner of every triangle rotated on its own, one shading and one polygon per
// triangle, drawn in scene order into a PixelBuffer through its own copy of the rasterizer.
#pragma once

#include <cstdint>
#include <span>

#include "canvas.h"
#include "pixel_buffer.h"
#include "projection.h"
#include "scene.h"

namespace quarn::testing {

/// What a rendering leaves on the canvas besides its pixels.
struct ReferenceCanvas {
    BrushStyle brushStyle = BrushStyle::Solid;
    Colour brushColour = kWhite;
    Colour penColour = kBlack;
};

/// The viewer's rendering of scene: project, clear with the canvas's pen, draw, restore the
/// brush. False when the extent has no reach (picture untouched); platform faults propagate
/// with the picture and canvas as far as the drawing got.
bool ReferenceRender(std::span<const SceneTriangle> scene, const ViewAngles& angles, float zoom,
                     bool shaded, PixelBuffer& picture, ReferenceCanvas& canvas);

}  // namespace quarn::testing
