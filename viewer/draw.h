// Painting the projected scene: each triangle becomes one polygon of three pixel corners,
// flat-shaded by the sun (brush and pen in the triangle's colour) or outlined in white over
// what the picture holds. Triangles are drawn in scene order, so a later one covers an
// earlier one whatever their depth; nothing is sorted or culled.
//
// On a PixelCanvas the same picture, canvas state and faults come from work spread over all
// cores while the caller waits: the pixel corners per vertex, each band of rows drawn in scene
// order by one thread, and only the colours of the triangles that show worked out. Other
// canvases get one polygon call per triangle. A picture too large to hold beside its file is
// drawn in bands of rows instead, each band handed on (to be written) once finished.
#pragma once

#include <cstdint>
#include <functional>

#include "canvas.h"
#include "pixel_buffer.h"
#include "projection.h"

namespace quarn {

/// Draws projected at zoom, shaded or as a wire frame. Leaves the brush style, and the pen
/// colour of the last polygon, on the canvas. With hiddenSurfaces (on a PixelCanvas; other
/// canvases paint in scene order) each pixel shows the surface nearest the observer, and
/// wire edges behind nearer surfaces are left out.
void DrawProjected(const ProjectedScene& projected, float zoom, bool shaded, Canvas& canvas,
                   bool hiddenSurfaces = false);

/// Takes a band of finished rows of a picture: its first row is the picture's row top.
using BandTaker = std::function<void(std::int32_t top, const PixelBuffer& band)>;

/// The picture that ClearPicture then DrawProjected give a fresh PixelCanvas of width x height
/// (projected fitted to that size), drawn in bands of rows rows (the last one may be shorter)
/// so that only a band's working memory is held: take gets the bands from the top down or,
/// bottomUp, from the bottom up. A fault of the drawing is raised before the first band.
void DrawInBands(const ProjectedScene& projected, float zoom, bool shaded, bool hiddenSurfaces,
                 std::int32_t width, std::int32_t height, std::int32_t rows, bool bottomUp,
                 const BandTaker& take);

/// How a projected scene is drawn: at zoom, flat-shaded or as a wire frame, nearest surfaces on
/// top or in scene order.
struct DrawingMode {
    float zoom = kStartZoomFactor;
    bool shaded = true;
    bool hiddenSurfaces = false;
};

/// DrawInBands in bands of about four million pixels; the projection's memory is then kept
/// for the next projection.
void DrawPictureInBands(ProjectedScene projected, const DrawingMode& mode, std::int32_t width,
                        std::int32_t height, bool bottomUp, const BandTaker& take);

/// Clears the whole picture of width x height to black, then outlines columns and rows
/// 0..width-2 and 0..height-2 with the canvas's current pen.
void ClearPicture(Canvas& canvas, std::int32_t width, std::int32_t height);

}  // namespace quarn
