// The output formats of the generate command, one row each: the extension that chooses it, its
// entry in the save dialog, its writer and what that writer needs.
//
// The save dialog offers the format of the panel's Output choice first, then every export
// format in the table's order. A file name's extension, upper-cased and cut to four characters,
// chooses its format (".3dfx" writes 3DF, ".plgx" PLG). The command line's usage text and man
// page, the user guide (samples/document.txt, "7. OUTPUT FORMATS") and README's table name the
// same extensions: the tests hold them to this table.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "binary_io.h"
#include "export_options.h"
#include "geotiff.h"
#include "heightmap16.h"
#include "terrain_sampler.h"
#include "write_3mf.h"

namespace quarn {

/// What a mesh format's writer is handed besides the file it writes into.
struct MeshToWrite {
    const TerrainMesh& mesh;
    float mapExtent;               // the map's longer side in map units (GridSetup::MapExtent)
    const ExportOptions& options;  // the printed solid's size
    const std::string& sideFile;   // the file the format writes beside the output (or empty)
    std::span<const std::uint8_t> bands = {};          // each vertex's band, for formats usesBands
    std::span<const ColourChange> colourChanges = {};  // a terraced print's, where reported
};

/// What a heightmap format's writer is handed besides the file it writes into.
struct HeightmapToWrite {
    const Heightmap16& map;
    const std::optional<Georeference>& place;  // of the samples, when the map has one
    const std::string& fileName;               // the output, beside which side files go
    const std::string& sideFile;               // the file the format always writes beside it
};

/// Writes the terrain's vertices and triangles in one format.
using MeshWriter = void (*)(BinaryWriter& out, const MeshToWrite& terrain);
/// Writes the terrain's 16-bit heightmap in one format.
using HeightmapWriter = void (*)(BinaryWriter& out, const HeightmapToWrite& heightmap);
/// Writes the terrain's heights in map units, one per sample, placed on the map.
using GridWriter = void (*)(BinaryWriter& out, const ElevationGrid& grid);

/// Where the save dialog offers a format: first, as the panel's Output choice, or after it.
enum class Offered { PanelChoice, Export };

struct OutputFormat {
    const char* extension;  // lower case, without the dot
    const char* filter;     // the save dialog's entry, "WHAT (*.EXT)|*.EXT"
    Offered offered;
    // The writer, exactly one: of the mesh, of the heightmap or of the elevation grid (the
    // last two report their height range).
    MeshWriter writeMesh = nullptr;
    HeightmapWriter writeHeightmap = nullptr;
    GridWriter writeGrid = nullptr;
    bool usesOptions = false;  // its bytes follow the ExportOptions' solid size
    bool usesBands = false;    // its writer needs each vertex's band (MeshToWrite::bands)
    // With ExportOptions::partsByBand, a file per band beside the output (NAME-01.EXT, ...)
    // and the colour changes in NAME-colours.txt.
    bool bandPartFiles = false;
    // The extension of the file it writes beside the output, of the output's name otherwise.
    const char* sideExtension = nullptr;

    bool reportsHeightRange() const { return writeHeightmap != nullptr || writeGrid != nullptr; }
};

/// Every output format: the panel's four (3DF, ASC, RAW, PLG), then the exports in the order
/// the dialog offers them.
std::span<const OutputFormat> OutputFormats();

/// The format that fileName's extension chooses, or nullptr.
const OutputFormat* FormatOfFile(const std::string& fileName);

/// The file that format writes beside the output file fileName: fileName with the side
/// extension in place of its own ("land.obj" gives "land.mtl"); nothing for most formats.
std::optional<std::string> SideFileName(const std::string& fileName, const OutputFormat& format);

/// The save dialog's filter for the panel's Output choice, which its first letter names ("3DF",
/// "ASC", "RAW", "PLG"): that format's entry, then every export's; empty for a choice that
/// names none.
std::string GenerateDialogFilter(const std::string& outputChoice);

}  // namespace quarn
