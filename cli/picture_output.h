// Writing the renderings of quarn3d-cli render: each picture drawn a band of rows at a time
// straight into its file, so that a large picture takes no more memory than the picture itself
// (a PNG is compressed from one image of three bytes a pixel; a BMP holds only a band), and
// the room a turntable needs, checked before its first frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "draw.h"
#include "projection.h"

namespace quarn::cli {

/// True when fileName is written as PNG (its extension is .png in any case), else BMP.
bool IsPngName(const std::string& fileName);

/// The most bytes the picture file of width x height takes: a BMP's exact size; for a PNG its
/// pixels uncompressed, each row's filter byte and room for the format's own overhead.
std::uint64_t PictureFileBound(const std::string& fileName, std::int32_t width,
                               std::int32_t height);

/// The refusal of frames (files of at most frameBytes each) that would not fit the space left
/// on the file system of their folder, counting the room that frames they replace give back;
/// nothing when they fit or the system cannot tell.
std::optional<std::string> FramesSpaceRefusal(const std::vector<std::string>& frames,
                                              std::uint64_t frameBytes);

/// Draws projected (fitted to width x height) in mode into fileName, a picture of that size.
void SaveRendering(const std::string& fileName, ProjectedScene projected, const DrawingMode& mode,
                   std::int32_t width, std::int32_t height);

}  // namespace quarn::cli
