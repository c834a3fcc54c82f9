// The viewer's drawing worked out once more, pixel by pixel, from its stated rules alone, for
// the pixel tests to hold the renderer against.
//
// A triangle's pixel corners are WorldToDevice of its zoomed x' and z', its colour
// ComputeShadedColour under the sun. It covers a pixel with its fill (the pixel's centre
// inside, a centre on an edge only for a top or a left edge) or with its outline (per edge,
// one pixel per step along the longer axis, the other coordinate the nearest, halves toward
// the larger). In file order the last triangle over a pixel shows; with hidden surfaces the
// nearest, by y' on the plane through the pixel corners or evenly along an outline, the later
// at equal depth, and a wire edge shows where it lies within a pixel's depth change of the
// nearest surface. Every pixel of a triangle's box is decided on its own; nothing is walked.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "canvas.h"
#include "pixel_buffer.h"
#include "projection.h"
#include "scene.h"

namespace quarn::testing {

/// The brush and pen a drawing starts with and leaves behind.
struct PenAndBrush {
    BrushStyle brushStyle = BrushStyle::Solid;
    Colour brushColour = kWhite;
    Colour penColour = kBlack;
};

/// How a projected scene is drawn.
struct DrawMode {
    float zoom = 1.0f;
    bool shaded = true;
    bool hidden = false;
};

/// What the rules say a drawing leaves.
struct OracleOutcome {
    PixelBuffer picture{1, 1};  // each pixel as the rules draw it
    // What else a pixel (numbered row after row) may show: where surfaces lie within rounding
    // of the same depth, or a wire edge within a pixel's depth change of the nearest surface.
    std::multimap<std::size_t, Colour> also;
    PenAndBrush canvas;
    bool drawn = false;  // the projection succeeded
    std::string fault = "no fault";
};

/// DrawProjected by the rules: projected drawn over picture, starting from canvas.
OracleOutcome OracleDraw(const ProjectedScene& projected, const DrawMode& mode, PixelBuffer picture,
                         PenAndBrush canvas);

/// RenderScene by the rules: scene projected for picture's size, cleared, drawn, the brush
/// back as it was unless a fault stopped the drawing.
OracleOutcome OracleRender(const Scene& scene, const ViewAngles& angles,
                           const ProjectionOptions& options, const DrawMode& mode,
                           PixelBuffer picture, PenAndBrush canvas);

/// The pixels of actual that the rules rule out: how many, and the first of them in words.
struct Disagreement {
    std::size_t pixels = 0;
    std::string first;
};
Disagreement Compare(const OracleOutcome& expected, const PixelBuffer& actual);

}  // namespace quarn::testing
