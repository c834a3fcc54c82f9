// The options that clean a map image into bands (--legend, --bands, --lines), shared by the
// import and generate commands, and the cleaning they ask for.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "map_import.h"
#include "options.h"

namespace quarn::cli {

struct ImportOptions {
    std::string legendFile;
    std::optional<int> bands;
    bool keepLines = false;

    bool given() const { return !legendFile.empty() || bands || keepLines; }
};

/// Lets parser take the import options into options.
void AddImportOptions(OptionParser& parser, ImportOptions& options);

/// False, with a line on stderr, when the options contradict each other (a legend and a count).
bool ImportOptionsAgree(const ImportOptions& options);

/// The text for the usage of the import options.
extern const char* const kImportOptionsUsage;

struct CleanedMap {
    BandMap map;
    std::vector<LegendEntry> legend;  // empty without a legend
};

/// The cleaned map of the image file, or nothing after its refusal was written to stderr;
/// a file that cannot be read raises the platform's error.
std::optional<CleanedMap> CleanMapFile(const std::string& imageFile, const ImportOptions& options);

}  // namespace quarn::cli
