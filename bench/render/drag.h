// The viewer's drag, measured: pictures a second while the angles step a degree a picture
// through a drag, drawn from the reduced scene, and the time to the exact picture once the
// mouse rests.
#pragma once

#include <filesystem>
#include <string>

namespace quarn::bench {

/// Runs the drag benchmark on the terrains of 4096 x 4096 and 16384 x 16384 band maps at
/// CellSize 4 (2.1 M and 33.5 M triangles), or of 256 and 512 pixels for smoke; false when
/// generating a terrain fails.
bool DragBenchmark(const std::string& cli, const std::filesystem::path& folder, bool smoke);

}  // namespace quarn::bench
