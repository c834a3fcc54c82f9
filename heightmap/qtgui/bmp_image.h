// A BMP file decoded into a picture by the toolkit's own reader.
//
// The system checks a map's headers itself (bmp_info.h); the pixels are the platform's to
// decode. A file the reader cannot decode is the platform error "Bitmap image is not valid",
// and so is one whose pixel data offset lies outside it or whose pixel rows are cut short:
// the reader would show the missing pixels in colour 0. A decoding that fails where not even
// the map's 8-bit picture can be allocated is "Out of memory" instead. A map of up to 16 or 256
// colours stays an 8-bit indexed picture; maps of up to 16384 x 16384 pixels load (the
// callers refuse larger ones by their headers first, bmp_info.h).
#pragma once

#include <QImage>
#include <string>

namespace quarn {

/// The decoded picture of the BMP file fileName.
QImage LoadBmpImage(const std::string& fileName);

}  // namespace quarn
