// The command-line front end's subcommands. Each returns the process exit code: 0 success,
// 1 a message of the system or a platform error (its text on stderr), 2 wrong usage.
#pragma once

#include <string>
#include <vector>

namespace quarn::cli {

/// quarn3d-cli generate MAP OUTPUT [options]; args excludes "generate".
int GenerateSubcommand(const std::vector<std::string>& args);
/// quarn3d-cli import IMAGE MAP.bmp [options]; args excludes "import".
int ImportSubcommand(const std::vector<std::string>& args);
/// quarn3d-cli render SCENE.3df PICTURE.bmp [options]; args excludes "render".
int RenderSubcommand(const std::vector<std::string>& args);

}  // namespace quarn::cli
