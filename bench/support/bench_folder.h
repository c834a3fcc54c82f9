// A benchmark's working folder: its own under the system's temporary folder, so that runs side
// by side (the suite and its sanitizer build) never remove each other's files.
#pragma once

#include <filesystem>
#include <string>

namespace quarn::bench {

/// Creates and returns the temporary folder name-PID of this process.
std::filesystem::path BenchFolder(const std::string& name);

}  // namespace quarn::bench
