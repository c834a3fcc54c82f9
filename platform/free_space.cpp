#include "free_space.h"

#include <sys/statvfs.h>

namespace quarn {

std::optional<std::uint64_t> FreeSpaceFor(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : fileName.substr(0, slash + 1);
    struct statvfs room {};
    if (::statvfs(folder.c_str(), &room) != 0)
        return std::nullopt;
    // The blocks left to users who are not root, as the user writing is usually not.
    return std::uint64_t{room.f_bavail} * room.f_frsize;
}

}  // namespace quarn
