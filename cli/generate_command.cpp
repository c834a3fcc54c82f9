#include <iostream>

#include "commands.h"

namespace quarn::cli {

int RunGenerate(const std::vector<std::string>&) {
    std::cerr << "quarn3d-cli generate: not available yet\n";
    return 2;
}

}  // namespace quarn::cli
