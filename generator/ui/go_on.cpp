#include "go_on.h"

#include <filesystem>

#include "classify_image.h"
#include "forms.h"
#include "generate_command.h"
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

bool GoOn(Surface surface) {
    const GeneratorFields fields = ReadPanel(*frmGenCPanel);
    // A map window whose picture failed to load has no map, whatever MapFileName says.
    const bool mapLoaded = !MapFileName.empty() && frmMap && !frmMap->picture().isNull();
    MapSource map;
    if (mapLoaded) {
        const QImage picture = frmMap->picture();
        map = {picture.width(), picture.height(),
               [picture, swatches = PanelSwatchColours(Palette)] {
                   return ClassifyImage(picture, swatches);
               }};
    }
    ExportOptions options;
    options.surface = surface;
    return RunGenerate(fields, mapLoaded, map, options);
}

std::string GenerateSummary() {
    const GridSetup& grid = g_GridSetup;
    return std::filesystem::path(OutputFileName).filename().string() + ": " +
           std::to_string(grid.VertexCount) + " vertices, " +
           std::to_string(GridTriangleCount(grid.GridCols, grid.GridRows)) + " triangles";
}

}  // namespace quarn
