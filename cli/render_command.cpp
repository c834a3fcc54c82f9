#include <iostream>

#include "commands.h"

namespace quarn::cli {

int RunRender(const std::vector<std::string>&) {
    std::cerr << "quarn3d-cli render: not available yet\n";
    return 2;
}

}  // namespace quarn::cli
