// The map window: an MDI child with a fixed border that shows the opened map image.
//
// Its one control, Image1, has exactly the image's size; the window shows it whole where the
// main window's work area has room left of the generator panel, otherwise as much as fits,
// scrolled in Scroller. A mouse press on it (any button) picks the palette index of the pixel's
// colour, lowest index first, and opens the height-entry popup beside the click as it lies in
// the window, moved just inside the screen where it would stand partly off it; a colour in no
// palette entry keeps the index picked before.
// Closing the window destroys it and forgets MapFileName; the palette, the panel's swatches
// and height fields and CurrentColourIndex stay. At most one exists (MapWindowOpen).
#pragma once

#include <QImage>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <string>

#include "map_image_control.h"
#include "shading.h"
#include "single_window.h"

namespace quarn {

class TfrmMap : public SingleWindow<TfrmMap> {
  public:
    TfrmMap();

    MapImage* Image1;
    QScrollArea* Scroller;

    /// The loaded map image; null when none is, or the last load failed.
    const QImage& picture() const { return m_picture; }
    /// Loads the BMP file into Image1; raises "Bitmap image is not valid", leaving no picture,
    /// when the file lacks pixel data or the toolkit's reader cannot decode it.
    void LoadPicture(const std::string& fileName);
    /// Sizes Image1 to width by height pixels and the client area to show it, within the room
    /// that the main window's work area leaves below and right of the window, left of the panel;
    /// all of it is painted anew.
    void SetClientSize(int width, int height);
    /// The Colour of picture pixel (x, y); outside the picture a value no palette entry has.
    Colour PixelColour(int x, int y) const;

    void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);

  private:
    // The largest client area that keeps the window inside its MDI area's viewport.
    QSize workRoom() const;

    QImage m_picture;
};

extern TfrmMap* frmMap;

/// Creates the map window in the main window's MDI area and sets MapWindowOpen.
void CreateMapWindow();

}  // namespace quarn
