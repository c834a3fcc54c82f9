#include "quarn_map_f.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "bmp_image.h"
#include "busy_cursor.h"
#include "error_report.h"
#include "forms.h"
#include "map_state.h"
#include "palette.h"
#include "qt_colour.h"
#include "quarn_set_f.h"

namespace quarn {

TfrmMap* frmMap = nullptr;

namespace {

// Palette Colours leave the top byte zero, so this matches none of them.
constexpr Colour kNoPixel = 0xFFFFFFFFu;

// The client area that shows image within room: the whole image where it fits, otherwise as
// much as fits together with the scroll bars it then needs.
QSize FittedClient(QSize image, QSize room, int bar) {
    QSize client = image;
    bool wide = false;
    bool tall = false;
    for (int pass = 0; pass < 2; ++pass) {  // one side's bar can leave the other too short
        wide = wide || client.width() > room.width();
        tall = tall || client.height() > room.height();
        client = image + QSize(tall ? bar : 0, wide ? bar : 0);
    }
    return client.boundedTo(room);
}

}  // namespace

TfrmMap::TfrmMap()
    : SingleWindow(frmMap, MapWindowOpen, [] { MapFileName.clear(); }),
      Image1(
          new MapImage([this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
              RunGuarded([&] { Image1MouseDown(button, shift, x, y); });
          })),
      Scroller(new QScrollArea) {
    setObjectName(QStringLiteral("frmMap"));
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    Scroller->setFrameShape(QFrame::NoFrame);
    Scroller->setWidget(Image1);
    setWidget(Scroller);
    // A fixed border: the window follows its client area, which follows the picture.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmMap::LoadPicture(const std::string& fileName) {
    // A failed load leaves no picture, so no terrain is made from the one shown before.
    m_picture = QImage();
    Image1->setPicture(m_picture);
    const BusyCursor busy;
    m_picture = LoadBmpImage(fileName);
    Image1->setPicture(m_picture);
}

void TfrmMap::SetClientSize(int width, int height) {
    Image1->setFixedSize(width, height);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Scroller);
    Scroller->setFixedSize(FittedClient({width, height}, workRoom(), bar));
    layout()->activate();
    // Growing inside a scroll area, a picture gets painted again only where it stood before: a
    // reused window would show the rest of a larger map blank, yet answer clicks there.
    Image1->update();
}

QSize TfrmMap::workRoom() const {
    const QMdiArea* area = mdiArea();
    if (!area)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    QSize work = area->viewport()->size();
    // The generator panel stands at the area's right edge: a large map stays left of it, so
    // that neither covers the other's controls.
    for (const QMdiSubWindow* window : area->subWindowList())
        if (window->widget() == GenCPanelForm() && window->isVisible() && window->x() > x())
            work.setWidth(std::min(work.width(), window->x()));
    const QMargins frame = contentsMargins();  // border and title bar
    const QSize room =
        work - QSize(x() + frame.left() + frame.right(), y() + frame.top() + frame.bottom());
    return room.expandedTo({1, 1});
}

Colour TfrmMap::PixelColour(int x, int y) const {
    if (!m_picture.valid(x, y))
        return kNoPixel;
    return ColourOfRgb(m_picture.pixel(x, y));
}

void TfrmMap::Image1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    if (const auto index = FindPaletteIndex(PixelColour(X, Y), Palette))
        CurrentColourIndex = *index;
    // The popup's spin button ends up just left of the click, below it; the map's position
    // inside the main window is added to screen coordinates as it stands, and a popup that
    // would then stand partly off the screen is moved just inside it. The click counts where
    // it lies in the window, which differs from the image pixel once the map scrolls.
    const QPoint click = Image1->mapTo(Scroller, QPoint(X, Y));
    const QRect spin = frmSet->UpDown1->geometry();
    frmSet->PlaceInside(
        {click.x() + x() + spin.x() + spin.width() - frmSet->width(), click.y() + y() + 25},
        screen()->availableGeometry());
    frmSet->exec();
}

void CreateMapWindow() {
    frmMap = new TfrmMap();
    AddChildWindow(frmMap);
    frmMap->show();
    MapWindowOpen = true;
}

}  // namespace quarn
