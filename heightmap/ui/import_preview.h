// The pictures of the import dialog: the image and its cleaned map as the toolkit shows them,
// and the reduced copy that the dialog cleans while the user tries options.
#pragma once

#include <QImage>

#include "map_import.h"

namespace quarn {

/// image sampled down to at most longestSide pixels on its longer side, or image itself when
/// it is no larger. Each pixel is one of the image's own (nearest, never blended), so the
/// reduced copy holds no colour that the image lacks.
RgbImage ReducedCopy(const RgbImage& image, int longestSide);

/// The image as an opaque picture.
QImage PictureOf(const RgbImage& image);

/// The map with every pixel in its band's colour.
QImage PictureOf(const BandMap& map);

}  // namespace quarn
