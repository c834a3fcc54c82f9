// A picture as an uncompressed 24-bit BMP: 54 header bytes, rows bottom-up in blue, green,
// red order, each padded to a multiple of 4 bytes.
#pragma once

#include "binary_io.h"
#include "pixel_buffer.h"

namespace quarn {

/// Writes picture as a complete BMP byte stream.
void WriteBmp24(BinaryWriter& out, const PixelBuffer& picture);

/// Writes picture to fileName as a 24-bit BMP; it appears only once complete.
void SavePictureBmp(const PixelBuffer& picture, const std::string& fileName);

}  // namespace quarn
