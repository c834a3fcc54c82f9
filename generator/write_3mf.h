// The 3MF print writer (.3mf): the STL's solid as a 3MF core model, coloured for printers that
// print in several materials.
//
// One object: the surface, the walls and the bottom, in millimetres (print_solid.h), each
// triangle with a base material. With PrintColours::Classes the materials are the height
// classes' colours (as the other exports), each surface triangle its class; with
// PrintColours::Bands they are the map's own band colours, each surface triangle the band most of
// its corners' samples came from. The walls and the bottom take the material of the lowest
// sample. A terraced solid's colour-change heights go into the model's metadata.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "binary_io.h"
#include "export_options.h"
#include "map_raster.h"
#include "terrain_sampler.h"

namespace quarn {

/// Where a terraced solid changes colour as it is printed from the bottom up.
struct ColourChange {
    std::uint8_t band = 0;  // the band that begins here
    double heightMm = 0;    // the top of the band below it, above the bottom
};

/// The colour changes of a terraced solid of mesh: each band present after the lowest begins at
/// the top of the one below; bands is each vertex's band (kNoClass for none).
std::vector<ColourChange> ColourChanges(const TerrainMesh& mesh, const ExportOptions& options,
                                        std::span<const std::uint8_t> bands);

/// "colour changes: band 5 at 3.000 mm, band 6 at 4.512 mm" (or "no colour change").
std::string ColourChangesText(const std::vector<ColourChange>& changes);

/// Writes mesh as a zipped 3MF package; bands as for ColourChanges, the changes given for a
/// terraced solid (empty otherwise).
void Format3MF(BinaryWriter& out, const TerrainMesh& mesh, const ExportOptions& options,
               std::span<const std::uint8_t> bands, std::span<const ColourChange> changes);

}  // namespace quarn
