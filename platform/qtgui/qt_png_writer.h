// The toolkit's PNG writer: behind the 16-bit greyscale picture seam (grey16_image.h), and
// for colour pictures such as the viewer's.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "shading.h"

namespace quarn {

/// Installs Qt's PNG writer as the Grey16PngEncoder; needs no application object.
void InstallQtPngWriter();

/// The PNG file's bytes for a width x height picture, pixels row after row from the top.
std::vector<std::uint8_t> EncodeColourPng(std::int32_t width, std::int32_t height,
                                          std::span<const Colour> pixels);

}  // namespace quarn
