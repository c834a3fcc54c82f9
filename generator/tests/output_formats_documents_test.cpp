// The documents that list the output formats list those of the table, in its order: the user
// guide, README's table and the command line's man page.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "output_formats.h"

namespace quarn {
namespace {

std::string SourceText(const std::string& path) {
    std::ifstream in(std::string(QUARN_SOURCE_DIR) + "/" + path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The part of text from the first begin to the next end after it.
std::string Between(const std::string& text, const std::string& begin, const std::string& end) {
    const std::size_t from = text.find(begin);
    EXPECT_NE(from, std::string::npos) << begin;
    const std::size_t to = text.find(end, from + begin.size());
    EXPECT_NE(to, std::string::npos) << end;
    return from == std::string::npos ? "" : text.substr(from, to - from);
}

// The extensions that pattern's first group finds in text, in order; those of side files (the
// OBJ's ".mtl") left out, as they name no format.
std::vector<std::string> Extensions(const std::string& text, const std::regex& pattern) {
    std::set<std::string> sideExtensions;
    for (const OutputFormat& format : OutputFormats())
        if (format.sideExtension)
            sideExtensions.insert(format.sideExtension);
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        if (!sideExtensions.contains((*it)[1].str()))
            found.push_back((*it)[1].str());
    return found;
}

std::vector<std::string> TableExtensions() {
    std::vector<std::string> extensions;
    for (const OutputFormat& format : OutputFormats())
        extensions.push_back(format.extension);
    return extensions;
}

TEST(OutputFormatsDocuments, TheUserGuideListsTheTable) {
    const std::string guide = SourceText("samples/document.txt");
    const std::string opening = Between(guide, "7. OUTPUT FORMATS", "\n\n");
    EXPECT_EQ(Extensions(opening, std::regex(R"((?:^|\s)\.([a-z0-9]{3})\b)")), TableExtensions());
}

TEST(OutputFormatsDocuments, ReadmesTableHasARowPerFormat) {
    const std::string readme = SourceText("README.md");
    const std::string table = Between(readme, "| extension | format |", "\n\n");
    EXPECT_EQ(Extensions(table, std::regex(R"(\n\| `\.([a-z0-9]+)`)")), TableExtensions());
}

TEST(OutputFormatsDocuments, TheManPageOfTheCommandLineListsTheTable) {
    const std::string page = SourceText("packaging/quarn3d-cli.1.in");
    const std::string list = Between(page, "chooses the format:", "a name without an extension");
    EXPECT_EQ(Extensions(list, std::regex(R"(\n\.BR? \.([a-z0-9]{3})\b)")), TableExtensions());
}

}  // namespace
}  // namespace quarn
