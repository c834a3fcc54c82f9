// The main menu's "Import map image..." command.
//
// Asks for an image (PNG, JPEG, TIFF, GIF or BMP), lets the user try the cleaning in the
// import dialog, and on OK asks where to save the cleaned map (a BMP named after the image by
// default; saving over the image itself is refused with an error box), cleans the full image,
// writes the map atomically and opens it as "Open BMP image file..." would. The heights of a
// legend then fill the generator panel's height fields of their bands. Cancel at any step
// changes nothing; a refusal of the full image is an error box. Platform errors (an image that
// cannot be read, a map that cannot be written) propagate to the guarded handler.
#pragma once

namespace quarn {

/// Runs the command.
void ImportMapImage();

}  // namespace quarn
