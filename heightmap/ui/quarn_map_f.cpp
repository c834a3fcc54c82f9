#include "quarn_map_f.h"

#include <QCloseEvent>
#include <QLayout>
#include <QPixmap>

#include "error_report.h"
#include "forms.h"
#include "map_state.h"
#include "palette.h"
#include "platform_error.h"
#include "quarn_set_f.h"

namespace quarn {

TfrmMap* frmMap = nullptr;

namespace {

// Palette Colours leave the top byte zero, so this matches none of them.
constexpr Colour kNoPixel = 0xFFFFFFFFu;

}  // namespace

TfrmMap::TfrmMap()
    : Image1(
          new MapImage([this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
              RunGuarded([&] { Image1MouseDown(button, shift, x, y); });
          })) {
    setObjectName(QStringLiteral("frmMap"));
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(Image1);
    // A fixed border: the window follows its client area, which follows the picture.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TfrmMap::~TfrmMap() {
    if (frmMap != this)
        return;
    frmMap = nullptr;
    MapWindowOpen = false;
}

void TfrmMap::LoadPicture(const std::string& fileName) {
    QImage image;
    if (!image.load(QString::fromStdString(fileName), "BMP"))
        throw PlatformError("Bitmap image is not valid");
    m_picture = image;
    Image1->setPixmap(QPixmap::fromImage(m_picture));
}

void TfrmMap::SetClientSize(int width, int height) {
    Image1->setFixedSize(width, height);
    layout()->activate();
}

Colour TfrmMap::PixelColour(int x, int y) const {
    if (!m_picture.valid(x, y))
        return kNoPixel;
    const QRgb rgb = m_picture.pixel(x, y);
    return PackRGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void TfrmMap::Image1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    if (const auto index = FindPaletteIndex(PixelColour(X, Y), Palette))
        CurrentColourIndex = *index;
    // The popup's spin button ends up just left of the click, below it; the map's position
    // inside the main window is added to screen coordinates as it stands.
    const QRect spin = frmSet->UpDown1->geometry();
    frmSet->move(X + x() + spin.x() + spin.width() - frmSet->width(), Y + y() + 25);
    frmSet->exec();
}

void TfrmMap::closeEvent(QCloseEvent* event) {
    RunGuarded([this] { FormClose(); });
    QMdiSubWindow::closeEvent(event);
}

void TfrmMap::FormClose() {
    MapWindowOpen = false;
    MapFileName.clear();
    frmMap = nullptr;
}

void CreateMapWindow() {
    frmMap = new TfrmMap();
    if (QMdiArea* area = MainMdiArea())
        area->addSubWindow(frmMap);
    frmMap->show();
    MapWindowOpen = true;
}

}  // namespace quarn
