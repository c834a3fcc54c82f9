#include "go_on.h"

#include <filesystem>
#include <sstream>

#include "classify_image.h"
#include "forms.h"
#include "generate_command.h"
#include "heightmap16.h"
#include "map_place.h"
#include "map_state.h"
#include "palette.h"
#include "quarn_gencpanel_f.h"
#include "quarn_map_f.h"

namespace quarn {

namespace {

std::string TextOf(const QLineEdit* edit) {
    return edit ? edit->text().toStdString() : std::string();
}

GeneratorFields ReadPanel(const TfrmGenCPanel& panel) {
    GeneratorFields f;
    f.water = TextOf(panel.MaskEdit17);
    f.lawn = TextOf(panel.MaskEdit18);
    f.snow = TextOf(panel.MaskEdit19);
    f.mapWidth = TextOf(panel.MaskEdit20);
    f.mapHeight = TextOf(panel.MaskEdit21);
    f.interval = TextOf(panel.MaskEdit22);
    // Height fields are found by their Tag, the palette index they belong to.
    for (std::size_t e = 0; e < f.heights.size(); ++e)
        f.heights[e] = TextOf(FindEditByTag(GenCPanelForm(), static_cast<int>(e)));
    f.outputChoice = panel.selectedOutputText().toStdString();
    return f;
}

}  // namespace

GenerateResult GoOn(Surface surface, std::optional<double> maxError, PrintColours printColours) {
    const GeneratorFields fields = ReadPanel(*frmGenCPanel);
    std::optional<LoadedMap> map;
    // A map window whose picture failed to load has no map.
    if (frmMap && !frmMap->picture().isNull()) {
        const QImage picture = frmMap->picture();
        map = LoadedMap{picture.width(), picture.height(),
                        [picture, swatches = PanelSwatchColours(Palette)] {
                            return ClassifyImage(picture, swatches);
                        }};
    }
    ExportOptions options{.surface = surface};
    options.maxError = maxError;
    options.printColours = printColours;
    options.bandColours = PanelSwatchColours(Palette);
    if (map) {
        const MapPlace place = ReadMapPlace(MapFileName);
        if (place.refused)
            return {};
        options.mapPlace = place.place;
    }
    return RunGenerateCommand(fields, map, options);
}

std::string GenerateSummary(const GenerateResult& result) {
    const std::string file = std::filesystem::path(result.fileName).filename().string() + ": ";
    if (result.samplesSummary)
        return file + *result.samplesSummary;
    if (result.colourChanges)
        return file + std::to_string(result.triangleCount) + " triangles, " + *result.colourChanges;
    std::string summary = file + std::to_string(result.vertexCount) + " vertices, " +
                          std::to_string(result.triangleCount) + " triangles";
    if (result.largestError) {
        std::ostringstream error;
        error << *result.largestError;
        summary += ", largest vertical error " + error.str() + " map units";
    }
    return summary;
}

}  // namespace quarn
