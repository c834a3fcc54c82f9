// A picture as an uncompressed 24-bit BMP: 54 header bytes, rows bottom-up in blue, green,
// red order, each padded to a multiple of 4 bytes.
#pragma once

#include <cstdint>
#include <string>

#include "binary_io.h"
#include "pixel_buffer.h"

namespace quarn {

/// Writes picture as a complete BMP byte stream.
void WriteBmp24(BinaryWriter& out, const PixelBuffer& picture);

/// Writes the 54 header bytes of a width x height picture; its rows follow, bottom row first.
void WriteBmp24Header(BinaryWriter& out, std::int32_t width, std::int32_t height);

/// Writes the rows of band (a band of a picture's rows, or all of them), bottom row first.
void WriteBmp24Rows(BinaryWriter& out, const PixelBuffer& band);

/// The bytes of the BMP file of a width x height picture.
std::uint64_t Bmp24FileSize(std::int32_t width, std::int32_t height);

/// Writes picture to fileName as a 24-bit BMP; it appears only once complete.
void SavePictureBmp(const PixelBuffer& picture, const std::string& fileName);

}  // namespace quarn
