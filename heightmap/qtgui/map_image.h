// A map image of any common format (PNG of any colour type and depth, JPEG, TIFF, GIF, BMP of
// any depth, run-length coded too) decoded by the toolkit's readers into plain pixels for
// cleaning (map_import.h).
//
// The size is read from the file's header and an image larger than 16384 x 16384 is refused
// before any pixel is decoded. Failures are platform errors naming the file and why:
// "<file>: not an image the program can read", "<file>: 20000 x 9000 pixels, larger than
// 16384 x 16384", or the reader's own reason for a damaged file.
#pragma once

#include <string>

#include "map_import.h"

namespace quarn {

RgbImage LoadMapImage(const std::string& fileName);

}  // namespace quarn
