#include "bench_folder.h"

#include <unistd.h>

namespace quarn::bench {

std::filesystem::path BenchFolder(const std::string& name) {
    const auto folder =
        std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace quarn::bench
