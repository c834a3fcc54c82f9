#include "map_cleaning.h"

#include <iostream>
#include <iterator>

#include "binary_io.h"
#include "map_image.h"

namespace quarn::cli {

const char* const kImportOptionsUsage =
    "  --legend FILE        the bands' colours and heights, one band a line: ELEVATION R G B\n"
    "                       (the colour text of gdaldem color-relief; # starts a comment)\n"
    "  --bands N            without a legend: find N bands (2 to 16) in the image, or 0 for\n"
    "                       as many as it clearly holds (the default)\n"
    "  --lines keep         keep dark linework as a band of its own (default: each line\n"
    "                       pixel takes the band around it)\n";

void AddImportOptions(OptionParser& parser, ImportOptions& options) {
    parser.text("--legend", options.legendFile);
    parser.value("--bands", [&options](const std::string& text) {
        options.bands = ParseWhole(text, 0, kMaxBands, 2);
        if (!options.bands || *options.bands == 1) {
            std::cerr << "--bands takes 0 or a whole number from 2 to 16, not \"" << text
                      << "\".\n";
            return false;
        }
        return true;
    });
    parser.value("--lines", [&options](const std::string& text) {
        options.keepLines = text == "keep";
        if (!options.keepLines)
            std::cerr << "--lines takes keep, not \"" << text << "\".\n";
        return options.keepLines;
    });
}

bool ImportOptionsAgree(const ImportOptions& options) {
    if (!options.legendFile.empty() && options.bands) {
        std::cerr << "--legend and --bands exclude each other: a legend gives the bands.\n";
        return false;
    }
    return true;
}

std::optional<CleanedMap> CleanMapFile(const std::string& imageFile, const ImportOptions& options) {
    CleaningOptions cleaning;
    cleaning.bands = options.bands.value_or(0);
    cleaning.linework = options.keepLines ? Linework::Keep : Linework::Remove;
    CleanedMap cleaned;
    if (!options.legendFile.empty()) {
        const auto in = OpenBinaryInput(options.legendFile);
        const std::string text{std::istreambuf_iterator<char>(*in), {}};
        LegendReading legend = ParseLegend(text);
        if (!legend.refusal.empty()) {
            std::cerr << options.legendFile << ": " << legend.refusal << ".\n";
            return std::nullopt;
        }
        for (const LegendEntry& entry : legend.entries)
            cleaning.legendColours.push_back(entry.colour);
        cleaned.legend = std::move(legend.entries);
    }
    Cleaning result = CleanMap(LoadMapImage(imageFile), cleaning);
    if (!result.map) {
        std::cerr << imageFile << ": " << result.refusal << ".\n";
        return std::nullopt;
    }
    cleaned.map = std::move(*result.map);
    return cleaned;
}

}  // namespace quarn::cli
