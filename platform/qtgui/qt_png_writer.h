// The toolkit's PNG writer: behind the 16-bit greyscale picture seam (grey16_image.h), and
// for colour pictures such as the viewer's.
#pragma once

#include <QImage>
#include <cstdint>
#include <span>

#include "binary_io.h"
#include "colour.h"

namespace quarn {

/// Installs Qt's PNG writer as the Grey16PngEncoder; needs no application object.
void InstallQtPngWriter();

/// A colour picture held as the toolkit's image of three bytes a pixel, filled a band of rows
/// at a time and written as a PNG file straight to a byte sink, so that the picture is held
/// only once, and not its file beside it.
class ColourPngImage {
  public:
    /// A black width x height picture; "Out of memory" when it cannot be had.
    ColourPngImage(std::int32_t width, std::int32_t height);

    /// Sets the rows from top on to pixels, row after row, each of the picture's width.
    void setRows(std::int32_t top, std::span<const Colour> pixels);
    /// Writes the PNG file; a failure of out is raised as it was.
    void write(ByteSink& out) const;

  private:
    QImage m_image;
};

}  // namespace quarn
