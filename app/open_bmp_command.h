// The main menu's "Open BMP image file..." command.
//
// Asks for a BMP file, checks its headers (a refusal is an error box with the check's text
// and "!", and nothing changes), then remembers the file as MapFileName, paints the panel's
// 16 swatches from the Palette, shows the image in the map window (created on the first
// open, reused after) captioned with the full path, placed at the main window's frame sizes
// and sized to the image. Platform errors (a file shorter than its headers, one that cannot
// be opened or decoded) propagate to the guarded handler; a picture that fails to load leaves
// the map window without one, which the generate command takes for no map.
#pragma once

#include <string>

namespace quarn {

/// Runs the command.
void OpenBMPImage();

/// Opens the BMP file fileName as the command does once the file is chosen.
void OpenMapFile(const std::string& fileName);

}  // namespace quarn
