#include "generate_terrain.h"

#include "atomic_file.h"
#include "busy_cursor.h"
#include "message_box.h"
#include "output_formats.h"
#include "terrain_file.h"

namespace quarn {

namespace {

// The refusal of an output that would write over the map, itself or by a file beside it.
std::optional<std::string> OverwritesTheMap(const std::string& outputFile,
                                            const OutputFormat* format,
                                            const std::string& mapFile) {
    if (IsSameFile(outputFile, mapFile))
        return kOutputIsInputText;
    const auto side = format ? SideFileName(outputFile, *format) : std::nullopt;
    if (side && IsSameFile(*side, mapFile))
        return "The file " + *side + ", written with the output file, is the input file!";
    return std::nullopt;
}

}  // namespace

LoadedMap ClassifiedMap(const ClassifiedRaster& raster) {
    return {raster.width, raster.height, [raster] { return raster; }};
}

GenerateResult GenerateTerrain(const GenerateRequest& request) {
    GenerateResult result;
    const OutputFormat* format = FormatOfFile(request.outputFile);
    if (const auto refusal = OverwritesTheMap(request.outputFile, format, request.mapFile)) {
        ShowErrorBox(*refusal);
        return result;
    }
    result.grid = MakeGrid(request.fields, request.map.width, request.map.height);
    if (!result.grid)
        return result;
    if (!format) {
        ShowErrorBox(kInvalidExtensionText);
        return result;
    }
    // Busy from the first pixel classified to the last byte written, smoothing included.
    const BusyCursor busy;
    ClassifiedRaster raster = request.map.classify();
    raster.smooth = request.options.surface == Surface::Smooth;
    const WrittenFile file =
        WriteTerrainFile(*result.grid, raster, request.outputFile, *format, request.options);
    if (!file.written)
        return result;
    result.written = true;
    result.fileName = request.outputFile;
    result.vertexCount = file.vertexCount;
    result.triangleCount = file.triangleCount;
    result.heightRange = file.heightRange;
    result.samplesSummary = file.samplesSummary;
    result.colourChanges = file.colourChanges;
    result.largestError = file.largestError;
    return result;
}

}  // namespace quarn
