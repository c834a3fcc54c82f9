// quarn3d-cli import: a map image of any common format cleaned into the 16-colour BMP that the
// application opens, and its bands listed.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "commands.h"
#include "console.h"
#include "map_cleaning.h"
#include "map_place.h"

namespace quarn::cli {

namespace {

const std::string& ImportUsage() {
    static const std::string usage =
        std::string(
            "Usage: quarn3d-cli import IMAGE MAP.bmp [--legend FILE | --bands N] "
            "[--lines keep]\n"
            "\n"
            "Cleans the map image IMAGE (PNG, JPEG, TIFF, GIF or BMP; a scan, an export or\n"
            "an anti-aliased drawing whose colours are height bands) into at most 16 "
            "bands\n"
            "and writes them as the 16-colour BMP map MAP.bmp. Shading, fringes between "
            "the\n"
            "bands and thin dark linework are cleaned away. Prints one line per band: its\n"
            "palette index, colour, share of the pixels and, from a legend, its height.\n"
            "\n"
            "Options:\n") +
        kImportOptionsUsage +
        "  --help               shows this text\n"
        "\n"
        "Exit status: 0 map written, 1 a refusal or a platform error (its text on stderr, no\n"
        "file touched), 2 wrong usage.\n";
    return usage;
}

struct Arguments {
    std::string image, output;
    ImportOptions options;
};

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args) {
    Arguments a;
    OptionParser parser;
    AddImportOptions(parser, a.options);
    const auto positional = parser.parse(args, 2);
    if (!positional || !ImportOptionsAgree(a.options))
        return std::nullopt;
    if (NamesNoFile((*positional)[1])) {
        std::cerr << "MAP.bmp names no file: \"" << (*positional)[1] << "\".\n";
        return std::nullopt;
    }
    a.image = (*positional)[0];
    a.output = (*positional)[1];
    return a;
}

std::string BandLine(std::size_t index, const CleanedMap& cleaned) {
    const Colour colour = cleaned.map.palette[index];
    char line[64];
    std::snprintf(line, sizeof line, "%2zu  #%02X%02X%02X  %5.1f%%", index, colour & 255,
                  (colour >> 8) & 255, (colour >> 16) & 255, cleaned.map.shares[index] * 100);
    std::string text = line;
    if (index < cleaned.legend.size())
        text += "  height " + ElevationText(cleaned.legend[index].elevation);
    return text;
}

int Import(const Arguments& a) {
    if (IsSameFile(a.image, a.output)) {
        std::cerr << kOutputIsInputText << '\n';
        return 1;
    }
    const MapPlace place = ReadMapPlace(a.image);
    if (place.refused)
        return 1;
    const auto cleaned = CleanMapFile(a.image, a.options);
    if (!cleaned)
        return 1;
    AtomicFile file(a.output);
    BinaryWriter out(file);
    WriteBandBmp(out, cleaned->map);
    file.commit();
    // The cleaned map has the image's pixels, so it lies where the image lies.
    if (place.place)
        WriteMapPlace(a.output, *place.place);
    for (std::size_t i = 0; i < cleaned->map.palette.size(); ++i)
        std::cout << BandLine(i, *cleaned) << '\n';
    return 0;
}

}  // namespace

int ImportSubcommand(const std::vector<std::string>& args) {
    if (HelpAsked(args, ImportUsage().c_str()))
        return 0;
    const auto parsed = ParseArguments(args);
    if (!parsed)
        return WrongUsage(ImportUsage().c_str());
    return RunReportingErrors([&] { return Import(*parsed); });
}

}  // namespace quarn::cli
