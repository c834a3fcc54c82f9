#include "generate_command.h"

#include "map_state.h"
#include "message_box.h"
#include "output_formats.h"
#include "text.h"
#include "window_mapping.h"

namespace quarn {

std::string OutputFileName;

namespace {

bool AnyBlank(const GeneratorFields& f) {
    for (const std::string* text :
         {&f.water, &f.lawn, &f.snow, &f.mapWidth, &f.mapHeight, &f.interval})
        if (Trim(*text).empty())
            return true;
    return false;
}

}  // namespace

FileDialogRequest GenerateDialogRequest(const std::string& outputChoice) {
    return FileDialogRequest{"Generate 3D file", GenerateDialogFilter(outputChoice),
                             outputChoice.substr(0, 4), "", true};
}

GenerateResult RunGenerateCommand(const GeneratorFields& fields,
                                  const std::optional<LoadedMap>& map,
                                  const ExportOptions& options) {
    if (!map || MapFileName.empty()) {
        ShowErrorBox(kNoMapText);
        return {};
    }
    if (AnyBlank(fields)) {
        ShowErrorBox(kValuesNotSetText);
        return {};
    }
    const auto chosen = RunSaveDialog(GenerateDialogRequest(fields.outputChoice));
    if (!chosen)
        return {};
    OutputFileName = *chosen;
    GenerateResult result = GenerateTerrain({fields, *map, OutputFileName, MapFileName, options});
    if (result.grid) {
        g_GridSetup = *result.grid;
        g_WindowMapping = g_GridSetup.mapping;
    }
    return result;
}

}  // namespace quarn
