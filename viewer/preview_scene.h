// A reduced copy of a scene, drawn while the view moves so that a large terrain keeps up with
// the mouse: the same terrain at lower detail.
//
// The vertices are clustered on a grid of square cells over the scene's plan (x, y), each
// cluster standing at the first of its vertices; a triangle takes its corners' clusters and its
// own colour, and goes when two corners share a cluster or when an earlier triangle already
// joins the same three clusters. Linear in the scene's size.
#pragma once

#include <cstddef>

#include "scene.h"

namespace quarn {

/// About this many triangles keep a 550 x 418 picture at 30 frames a second on two cores.
inline constexpr std::size_t kPreviewTriangles = 120000;

/// The scene reduced to at most about maxTriangles triangles (at most 600000); a scene of no
/// more than that comes back as it is.
Scene PreviewScene(const Scene& scene, std::size_t maxTriangles = kPreviewTriangles);

}  // namespace quarn
