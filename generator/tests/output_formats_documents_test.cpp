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

TEST(OutputFormatsDocuments, GuideReadmeAndManPageListTheTableInItsOrder) {
    std::vector<std::string> table;
    for (const OutputFormat& format : OutputFormats())
        table.push_back(format.extension);
    const struct {
        const char *file, *begin, *end, *pattern;
    } documents[] = {
        {"samples/document.txt", "7. OUTPUT FORMATS", "\n\n", R"((?:^|\s)\.([a-z0-9]{3})\b)"},
        {"README.md", "| extension | format |", "\n\n", R"(\n\| `\.([a-z0-9]+)`)"},
        {"packaging/quarn3d-cli.1.in", "chooses the format:", "a name without an extension",
         R"(\n\.BR? \.([a-z0-9]{3})\b)"},
    };
    for (const auto& d : documents)
        EXPECT_EQ(Extensions(Between(SourceText(d.file), d.begin, d.end), std::regex(d.pattern)),
                  table)
            << d.file;
}

}  // namespace
}  // namespace quarn
