// quarn3d-cli: generate terrain files and render pictures without the windows.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "qt_png_writer.h"

namespace {

constexpr const char* kUsage =
    "Usage: quarn3d-cli generate MAP OUTPUT [options]       (see: quarn3d-cli generate --help)\n"
    "       quarn3d-cli import IMAGE MAP.bmp [options]     (see: quarn3d-cli import --help)\n"
    "       quarn3d-cli render SCENE.3df PICTURE.bmp [options] (see: quarn3d-cli render --help)\n"
    "       quarn3d-cli --version\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (all.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    quarn::InstallQtPngWriter();
    const std::vector<std::string> rest(all.begin() + 1, all.end());
    if (all[0] == "generate")
        return quarn::cli::GenerateSubcommand(rest);
    if (all[0] == "import")
        return quarn::cli::ImportSubcommand(rest);
    if (all[0] == "render")
        return quarn::cli::RenderSubcommand(rest);
    if (all[0] == "--version") {
        std::cout << "quarn3d-cli " QUARN_VERSION "\n";
        return 0;
    }
    if (all[0] == "--help" || all[0] == "-h") {
        std::cout << kUsage;
        return 0;
    }
    std::cerr << kUsage;
    return 2;
}
