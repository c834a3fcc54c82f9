// The viewer's drawing worked out once more, pixel by pixel, from its stated rules alone, for
// the pixel tests to hold the renderer against.
//
// A triangle's pixel corners are WorldToDevice of its zoomed x' and z', its colour
// ComputeShadedColour under the sun; the pixels it covers and their depths follow the fill and
// pen rules (oracle_coverage). In file order the last triangle over a pixel shows; with hidden
// surfaces the nearest, the later at equal depth, and a wire edge where it lies within a
// pixel's depth change of the nearest surface. The drawing stops before the first triangle
// whose corners or colour fault. Every pixel of a triangle's box is decided on its own.
#pragma once

#include <cstddef>
#include <cstdint>
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

/// A picture of varied colours, to show which pixels a drawing leaves as they were.
PixelBuffer Patterned(std::int32_t width, std::int32_t height);

/// DrawProjected by the rules: projected drawn over picture, starting from canvas.
OracleOutcome OracleDraw(const ProjectedScene& projected, const DrawMode& mode, PixelBuffer picture,
                         PenAndBrush canvas);

/// RenderScene by the rules: scene projected for picture's size, cleared, drawn, the brush
/// back as it was unless a fault stopped the drawing.
OracleOutcome OracleRender(const Scene& scene, const ViewAngles& angles,
                           const ProjectionOptions& options, const DrawMode& mode,
                           PixelBuffer picture, PenAndBrush canvas);

/// How many pixels of a picture the rules rule out, and the first of them in words.
struct Disagreement {
    std::size_t pixels = 0;
    std::string first;
};

/// The pixels of actual that expected rules out.
Disagreement Compare(const OracleOutcome& expected, const PixelBuffer& actual);

}  // namespace quarn::testing
