// quarn3d-cli run as a user runs it, through the shell: its exit code and what it printed.
#pragma once

#include <filesystem>
#include <string>

namespace quarn::testing {

struct Outcome {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

/// The user id of nobody, whom root can run the program as.
inline constexpr unsigned kNobody = 65534;

/// Runs quarn3d-cli with arguments (shell words), as user nobody where asked.
Outcome RunCli(const std::string& arguments, bool asNobody = false);

/// path in single quotes, as one shell word.
std::string Quoted(const std::filesystem::path& path);

}  // namespace quarn::testing
