// The ENVI header beside a raw 16-bit heightmap, which lets GDAL and QGIS open the .r16 as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "georeference.h"

namespace quarn {

/// The header text of a cols x rows raw file of little-endian unsigned 16-bit samples, its
/// description saying what the samples stand for; with a placement its map info and
/// coordinate system.
std::string EnviHeaderText(std::int32_t cols, std::int32_t rows, const std::string& description,
                           const std::optional<Georeference>& place);

/// "land.hdr" beside "land.r16".
std::string EnviHeaderName(const std::string& rawFile);

}  // namespace quarn
