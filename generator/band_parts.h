// A printed solid cut into one closed part per band, for printers that give each part its own
// filament.
//
// Each surface triangle belongs to the band most of its corners' samples came from (the
// lowest sample's band where no band has two). A band's part is a column from the bottom up:
// its triangles of the surface, walls straight down along the edge of their patch, and the
// same triangles again at the bottom, facing down. Parts side by side share their walls, so
// together they make the whole solid; each on its own is closed and faces outwards, every edge
// met by two triangles (a vertex where a patch only touches itself is kept once per side).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "export_options.h"
#include "print_solid.h"
#include "terrain_sampler.h"

namespace quarn {

struct BandPart {
    std::uint8_t band = 0;
    std::vector<Point> vertices;  // millimetres, as the whole solid's
    std::vector<std::array<std::size_t, 3>> triangles;
    std::size_t surfaceTriangles = 0;  // the first this many are the surface's
};

/// The parts of the solid of mesh, bands giving each vertex's band (kNoClass for none), from
/// the lowest band's part to the highest's.
std::vector<BandPart> BandParts(const TerrainMesh& mesh, const ExportOptions& options,
                                std::span<const std::uint8_t> bands);

}  // namespace quarn
