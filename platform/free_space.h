// The room left for new files where a file is to be written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quarn {

/// The bytes the user may still write on the file system of fileName's folder (the current
/// folder for a name without one); nothing when the system cannot tell, as for a folder that
/// does not exist.
std::optional<std::uint64_t> FreeSpaceFor(const std::string& fileName);

}  // namespace quarn
