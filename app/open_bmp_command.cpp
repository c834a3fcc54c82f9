#include "open_bmp_command.h"

#include <cmath>

#include "bmp_info.h"
#include "file_dialog.h"
#include "forms.h"
#include "map_place.h"
#include "map_state.h"
#include "message_box.h"
#include "palette.h"
#include "quarn_map_f.h"
#include "swatch.h"

namespace quarn {

namespace {

constexpr int kMapwidthTag = 400, kMapheightTag = 500;

void PaintSwatches() {
    const auto colours = PanelSwatchColours(Palette);
    for (std::size_t k = 0; k < colours.size(); ++k)
        for (QLabel* label : FindLabelsByTag(GenCPanelForm(), static_cast<int>(k)))
            SetSwatchColour(*label, colours[k]);
}

// The main window's frame sizes (border, title and menu), used as offsets in its client area.
QPoint MainFrameOffsets() {
    const QMainWindow* main = MainForm();
    const QMdiArea* client = MainMdiArea();
    if (!main || !client)
        return {};
    return {main->frameGeometry().width() - client->width(),
            main->frameGeometry().height() - client->height()};
}

// A map placed on Earth gives Mapwidth and Mapheight its extent, in the whole map units the
// fields hold (up to six digits); the user may type others.
void FillExtentFromPlace(std::int32_t width, std::int32_t height) {
    const MapPlace place = ReadMapPlace(MapFileName);
    if (!place.place)
        return;
    const auto fill = [](int tag, double extent) {
        const double whole = std::nearbyint(extent);
        QLineEdit* field = FindEditByTag(GenCPanelForm(), tag);
        if (field && whole >= 1 && whole <= 999999)
            field->setText(QString::number(whole, 'f', 0));
    };
    fill(kMapwidthTag, place.place->pixelWidth() * width);
    fill(kMapheightTag, place.place->pixelHeight() * height);
}

}  // namespace

void OpenBMPImage() {
    const auto chosen = RunOpenDialog({"Open BMP image file", "BMP files|*.bmp", "BMP", "", false});
    if (chosen)
        OpenMapFile(*chosen);
}

void OpenMapFile(const std::string& fileName) {
    const std::uint8_t code = ReadBMPInfo(fileName);
    if (code != 0) {
        ShowErrorBox(BMPRefusalText(code, BMPHeader));
        return;
    }
    MapFileName = fileName;
    PaintSwatches();
    if (!MapWindowOpen)
        CreateMapWindow();
    // A reused window may lie behind the viewer or the documentation.
    if (QMdiArea* area = frmMap->mdiArea())
        area->setActiveSubWindow(frmMap);
    frmMap->raise();
    frmMap->LoadPicture(MapFileName);
    frmMap->setWindowTitle(QString::fromStdString(MapFileName));
    frmMap->move(MainFrameOffsets());
    // A top-down image stores a negative height; the window takes its real size.
    frmMap->SetClientSize(BMPHeader.width, ImageRowCount(BMPHeader));
    FillExtentFromPlace(BMPHeader.width, ImageRowCount(BMPHeader));
}

}  // namespace quarn
