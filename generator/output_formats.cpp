#include "output_formats.h"

#include <algorithm>
#include <filesystem>

#include "geotiff.h"
#include "text.h"
#include "write_3df.h"
#include "write_asc.h"
#include "write_glb.h"
#include "write_obj.h"
#include "write_plg.h"
#include "write_ply.h"
#include "write_png16.h"
#include "write_r16.h"
#include "write_raw.h"
#include "write_stl.h"

namespace quarn {

namespace {

constexpr OutputFormat kOutputFormats[] = {
    {.extension = "3df",
     .filter = "3DF (internal) format (*.3df)|*.3df",
     .offered = Offered::PanelChoice,
     .writeMesh = [](BinaryWriter& out, const MeshToWrite& t) { Format3DF(out, t.mesh); }},
    {.extension = "asc",
     .filter = "ASC format (3D Studio) (*.asc)|*.asc",
     .offered = Offered::PanelChoice,
     .writeMesh = [](BinaryWriter& out, const MeshToWrite& t) { FormatASC(out, t.mesh); }},
    {.extension = "raw",
     .filter = "RAW triangle format (no shading) (*.raw)|*.raw",
     .offered = Offered::PanelChoice,
     .writeMesh = [](BinaryWriter& out, const MeshToWrite& t) { FormatRAW(out, t.mesh); }},
    {.extension = "plg",
     .filter = "PLG object format (REND386) (*.plg)|*.plg",
     .offered = Offered::PanelChoice,
     .writeMesh = [](BinaryWriter& out, const MeshToWrite& t) { FormatPLG(out, t.mesh); }},
    {.extension = "stl",
     .filter = "STL solid for 3D printing (*.stl)|*.stl",
     .offered = Offered::Export,
     .writeMesh = [](BinaryWriter& out,
                     const MeshToWrite& t) { FormatSTL(out, t.mesh, t.options); },
     .usesOptions = true,
     .bandPartFiles = true},
    {.extension = "obj",
     .filter = "OBJ mesh with materials (*.obj)|*.obj",
     .offered = Offered::Export,
     .writeMesh =
         [](BinaryWriter& out, const MeshToWrite& t) {
             WriteOBJWithLibrary(out, t.mesh, t.mapExtent, t.sideFile);
         },
     .sideExtension = "mtl"},
    {.extension = "ply",
     .filter = "PLY mesh with colours (*.ply)|*.ply",
     .offered = Offered::Export,
     .writeMesh = [](BinaryWriter& out,
                     const MeshToWrite& t) { FormatPLY(out, t.mesh, t.mapExtent); }},
    {.extension = "glb",
     .filter = "glTF binary (*.glb)|*.glb",
     .offered = Offered::Export,
     .writeMesh = [](BinaryWriter& out,
                     const MeshToWrite& t) { FormatGLB(out, t.mesh, t.mapExtent); }},
    {.extension = "png",
     .filter = "16-bit heightmap PNG (*.png)|*.png",
     .offered = Offered::Export,
     .writeHeightmap = WritePNG16Placed},
    {.extension = "r16",
     .filter = "16-bit heightmap raw (*.r16)|*.r16",
     .offered = Offered::Export,
     .writeHeightmap = WriteR16WithHeader,
     .sideExtension = "hdr"},
    {.extension = "tif",
     .filter = "GeoTIFF elevation (*.tif)|*.tif",
     .offered = Offered::Export,
     .writeGrid = [](BinaryWriter& out,
                     const ElevationGrid& grid) { out.writeBytes(GeoTiffBytes(grid)); }},
    {.extension = "3mf",
     .filter = "3MF print (*.3mf)|*.3mf",
     .offered = Offered::Export,
     .writeMesh =
         [](BinaryWriter& out, const MeshToWrite& t) {
             Format3MF(out, t.mesh, t.options, t.bands, t.colourChanges);
         },
     .usesOptions = true,
     .usesBands = true},
};

}  // namespace

std::span<const OutputFormat> OutputFormats() {
    return kOutputFormats;
}

const OutputFormat* FormatOfFile(const std::string& fileName) {
    const std::string extension = UpperCase(ExtractFileExt(fileName)).substr(0, 4);
    for (const OutputFormat& format : kOutputFormats)
        if (extension == "." + UpperCase(format.extension))
            return &format;
    return nullptr;
}

std::optional<std::string> SideFileName(const std::string& fileName, const OutputFormat& format) {
    if (!format.sideExtension)
        return std::nullopt;
    return std::filesystem::path(fileName)
        .replace_extension(std::string(".") + format.sideExtension)
        .string();
}

std::string GenerateDialogFilter(const std::string& outputChoice) {
    const auto chosen = std::find_if(
        std::begin(kOutputFormats), std::end(kOutputFormats), [&](const OutputFormat& format) {
            return format.offered == Offered::PanelChoice && !outputChoice.empty() &&
                   UpperCase(format.extension)[0] == outputChoice[0];
        });
    if (chosen == std::end(kOutputFormats))
        return {};
    std::string filter = chosen->filter;
    for (const OutputFormat& format : kOutputFormats) {
        if (format.offered == Offered::Export) {
            filter += '|';
            filter += format.filter;
        }
    }
    return filter;
}

}  // namespace quarn
