// World files: the six-line text beside an image that places its pixels (Esri's convention).
//
// Lines: the pixel width A, the row rotation D, the column rotation B, the pixel height E
// (negative for north up), and the x C and y F of the centre of the top-left pixel.
#pragma once

#include <optional>
#include <string>

#include "georeference.h"

namespace quarn {

/// The world file that GIS programs look for beside image, if one exists: the extension's
/// first and last letters and "w" ("map.pgw" beside "map.png"), the extension and "w"
/// ("map.pngw"), then "map.wld"; each in the extension's case or in lower case.
std::optional<std::string> FindWorldFile(const std::string& image);

/// The first of those names: where the world file of image is written.
std::string WorldFileName(const std::string& image);

/// The placement that world file text gives, the coordinate system left empty; nothing after
/// showing why it cannot place a north-up map: a line that is no number, fewer than six
/// lines, a rotation, or a pixel size that is not positive across and negative down.
std::optional<Georeference> ParseWorldFile(const std::string& text, const std::string& fileName);

/// The world file text of a placement, each number in full precision.
std::string WorldFileText(const Georeference& place);

}  // namespace quarn
