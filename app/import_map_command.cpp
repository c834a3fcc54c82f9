#include "import_map_command.h"

#include <cmath>
#include <filesystem>

#include "atomic_file.h"
#include "busy_cursor.h"
#include "file_dialog.h"
#include "forms.h"
#include "map_image.h"
#include "map_import.h"
#include "map_place.h"
#include "message_box.h"
#include "open_bmp_command.h"
#include "quarn_import_f.h"

namespace quarn {

namespace {

// The cleaned map written to fileName; false (after the error box) when the cleaning refuses.
bool WriteCleanedMap(const RgbImage& image, const CleaningOptions& options,
                     const std::string& fileName) {
    const BusyCursor busy;
    const Cleaning cleaning = CleanMap(image, options);
    if (!cleaning.map) {
        ShowErrorBox(cleaning.refusal);
        return false;
    }
    AtomicFile file(fileName);
    BinaryWriter out(file);
    WriteBandBmp(out, *cleaning.map);
    file.commit();
    return true;
}

// The panel's height field of each band (Tag = palette index) takes its legend height, rounded
// to the whole number the field holds (+ 0.0 turns -0 into 0).
void FillHeights(const std::vector<LegendEntry>& legend) {
    for (std::size_t k = 0; k < legend.size(); ++k)
        if (QLineEdit* field = FindEditByTag(GenCPanelForm(), static_cast<int>(k)))
            field->setText(QString::number(std::nearbyint(legend[k].elevation) + 0.0, 'f', 0));
}

}  // namespace

void ImportMapImage() {
    const auto chosen = RunOpenDialog(
        {"Import map image", "Map images|*.png;*.jpg;*.jpeg;*.tif;*.tiff;*.gif;*.bmp|All files|*",
         "", "", false});
    if (!chosen)
        return;
    const MapPlace place = ReadMapPlace(*chosen);
    if (place.refused)
        return;
    const RgbImage image = [&] {
        const BusyCursor busy;
        return LoadMapImage(*chosen);
    }();
    TfrmImport dialog(image, MainForm());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string defaultName = std::filesystem::path(*chosen).replace_extension(".bmp");
    const auto target =
        RunSaveDialog({"Save cleaned map", "BMP files|*.bmp", "BMP", defaultName, true});
    if (!target)
        return;
    if (IsSameFile(*target, *chosen)) {
        ShowErrorBox(kOutputIsInputText);
        return;
    }
    if (!WriteCleanedMap(image, dialog.finalOptions(), *target))
        return;
    // The cleaned map has the image's pixels, so it lies where the image lies.
    if (place.place)
        WriteMapPlace(*target, *place.place);
    OpenMapFile(*target);
    FillHeights(dialog.legend());
}

}  // namespace quarn
