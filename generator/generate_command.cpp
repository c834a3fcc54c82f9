#include "generate_command.h"

#include <utility>
#include <vector>

#include "atomic_file.h"
#include "busy_cursor.h"
#include "map_state.h"
#include "message_box.h"
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

std::string OutputFileName;

namespace {

// The export formats, offered after the panel's choice whatever it is.
constexpr const char* kExportFilters =
    "|STL solid for 3D printing (*.stl)|*.stl"
    "|OBJ mesh with materials (*.obj)|*.obj"
    "|PLY mesh with colours (*.ply)|*.ply"
    "|glTF binary (*.glb)|*.glb"
    "|16-bit heightmap PNG (*.png)|*.png"
    "|16-bit heightmap raw (*.r16)|*.r16";

std::string ChoiceFilter(const std::string& outputChoice) {
    switch (outputChoice.empty() ? '\0' : outputChoice[0]) {
        case '3':
            return "3DF (internal) format (*.3df)|*.3df";
        case 'A':
            return "ASC format (3D Studio) (*.asc)|*.asc";
        case 'R':
            return "RAW triangle format (no shading) (*.raw)|*.raw";
        case 'P':
            return "PLG object format (REND386) (*.plg)|*.plg";
        default:
            return {};
    }
}

std::string DialogFilter(const std::string& outputChoice) {
    const std::string chosen = ChoiceFilter(outputChoice);
    return chosen.empty() ? chosen : chosen + kExportFilters;
}

// A writer whose format has no export options.
template <bool (*Write)(const GridSetup&, const ClassifiedRaster&, const std::string&)>
bool WithoutOptions(const GridSetup& setup, const ClassifiedRaster& map,
                    const std::string& fileName, const ExportOptions&) {
    return Write(setup, map, fileName);
}

// The files a writer puts beside fileName: for OBJ its material library.
std::vector<std::string> SideFiles(const std::string& fileName) {
    if (UpperCase(ExtractFileExt(fileName)).substr(0, 4) == ".OBJ")
        return {MaterialLibraryName(fileName)};
    return {};
}

bool AnyBlank(const GeneratorFields& f) {
    for (const std::string* text :
         {&f.water, &f.lawn, &f.snow, &f.mapWidth, &f.mapHeight, &f.interval})
        if (Trim(*text).empty())
            return true;
    return false;
}

}  // namespace

FileDialogRequest GenerateDialogRequest(const std::string& outputChoice) {
    return FileDialogRequest{"Generate 3D file", DialogFilter(outputChoice),
                             outputChoice.substr(0, 4), "", true};
}

MapSource ClassifiedSource(const ClassifiedRaster& raster) {
    return {raster.width, raster.height, [raster] { return raster; }};
}

bool RunGenerate(const GeneratorFields& fields, bool mapLoaded, const MapSource& source,
                 const ExportOptions& options) {
    if (!mapLoaded) {
        ShowErrorBox(kNoMapText);
        return false;
    }
    if (AnyBlank(fields)) {
        ShowErrorBox(kValuesNotSetText);
        return false;
    }
    const auto chosen = RunSaveDialog(GenerateDialogRequest(fields.outputChoice));
    if (!chosen)
        return false;
    OutputFileName = *chosen;
    if (IsSameFile(OutputFileName, MapFileName)) {
        ShowErrorBox(kOutputIsInputText);
        return false;
    }
    for (const std::string& side : SideFiles(OutputFileName)) {
        if (IsSameFile(side, MapFileName)) {
            ShowErrorBox("The file " + side + ", written with the output file, is the input file!");
            return false;
        }
    }
    if (!Set_Grid(fields, source.width, source.height, g_GridSetup))
        return false;
    const std::string extension = UpperCase(ExtractFileExt(OutputFileName)).substr(0, 4);
    using Writer = bool (*)(const GridSetup&, const ClassifiedRaster&, const std::string&,
                            const ExportOptions&);
    static constexpr std::pair<const char*, Writer> kWriters[] = {
        {".3DF", WithoutOptions<Write_3DF>},   {".RAW", WithoutOptions<Write_RAW>},
        {".ASC", WithoutOptions<Write_ASC>},   {".PLG", WithoutOptions<Write_PLG>},
        {".OBJ", WithoutOptions<Write_OBJ>},   {".PLY", WithoutOptions<Write_PLY>},
        {".GLB", WithoutOptions<Write_GLB>},   {".STL", Write_STL},
        {".PNG", WithoutOptions<Write_PNG16>}, {".R16", WithoutOptions<Write_R16>},
    };
    for (const auto& [name, writer] : kWriters) {
        if (extension != name)
            continue;
        // Busy from the first pixel classified to the last byte written, smoothing included.
        const BusyCursor busy;
        ClassifiedRaster map = source.classify();
        map.smooth = options.surface == Surface::Smooth;
        return writer(g_GridSetup, map, OutputFileName, options);
    }
    ShowErrorBox(kInvalidExtensionText);
    return false;
}

}  // namespace quarn
