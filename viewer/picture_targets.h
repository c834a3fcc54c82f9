// Where pictures of the open scene may be saved: never over the scene's own file, whatever
// name, link or spelling leads there. Shared by the viewer's save command and the command
// line's render, whose turntable writes many pictures.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// False, after the error box "The output file is the input file!", when any of pictures is
/// the open scene's file sceneFile.
bool MayWritePictures(const std::vector<std::string>& pictures, const std::string& sceneFile);

}  // namespace quarn
