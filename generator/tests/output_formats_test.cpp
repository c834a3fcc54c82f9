// The output formats' table: its rows say what their writers do, a file name finds its row, and
// the documents that list the formats (the user guide, README's table, the command line's man
// page) list those of the table, in its order.
#include "output_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "generator_test_support.h"
#include "grey16_image.h"
#include "platform_error.h"
#include "qt_png_writer.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "terrain_file.h"

namespace quarn {
namespace {

TEST(OutputFormats, RowsAreDistinctAndTheirFiltersNameTheirExtension) {
    std::set<std::string> extensions;
    std::set<char> choiceLetters;
    for (const OutputFormat& format : OutputFormats()) {
        const std::string ext = format.extension;
        EXPECT_TRUE(extensions.insert(ext).second) << ext;
        EXPECT_TRUE(std::string(format.filter).ends_with(" (*." + ext + ")|*." + ext)) << ext;
        EXPECT_EQ((format.writeMesh != nullptr) + (format.writeHeightmap != nullptr) +
                      (format.writeGrid != nullptr),
                  1)
            << ext;
        if (format.offered == Offered::PanelChoice) {
            EXPECT_TRUE(choiceLetters.insert(format.extension[0]).second) << ext;
        }
    }
    EXPECT_EQ(choiceLetters, (std::set<char>{'3', 'a', 'p', 'r'}));
}

TEST(OutputFormats, AFileNameFindsItsFormatByTheFirstFourCharactersOfItsExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"hills.3df", "3df"},       {"HILLS.3Df", "3df"},  {"hills.3dfx", "3df"},
        {"a/b.c/hills.obj", "obj"}, {"hills.plgx", "plg"}, {"hills.R16", "r16"},
        {"hills", nullptr},         {"hills.", nullptr},   {"hills.3d", nullptr},
        {"hills.obj/", nullptr},    {"hills.mtl", nullptr}};
    for (const auto& [name, extension] : cases) {
        const OutputFormat* format = FormatOfFile(name);
        EXPECT_EQ(std::string(format ? format->extension : "none"), extension ? extension : "none")
            << name;
    }
}

// What a row says its writer needs and gives, the writer does: the STL alone follows the
// options, the OBJ and the raw heightmap alone write a file beside it, the heightmaps and the
// GeoTIFF alone report a height range.
// Every writer refuses without a height, and a fault keeps the earlier files and no temporary.
TEST(OutputFormats, EachRowSaysWhatItsWriterNeedsAndGives) {
    InstallQtPngWriter();
    testing::ScriptedUi ui;
    ClassifiedRaster raster = testing::UniformRaster(40, 20, 0);
    testing::Paint(raster, 20, 0, 20, 20, 1);
    GeneratorFields fields = testing::Fields("10", "50", "200", "200", "100", "20");
    fields.heights[0] = "0";
    fields.heights[1] = "120";
    const auto setup = MakeGrid(fields, raster.width, raster.height);
    ASSERT_TRUE(setup);
    const ExportOptions other{.printSizeMm = 40, .exaggeration = 3, .baseMm = 2};
    for (const OutputFormat& format : OutputFormats()) {
        const std::string ext = format.extension;
        testing::TempFolder plain, changed;
        const std::string name = "land." + ext;
        const WrittenFile written = WriteTerrainFile(*setup, raster, plain.file(name), format);
        ASSERT_TRUE(written.written) << ext;
        WriteTerrainFile(*setup, raster, changed.file(name), format, other);
        EXPECT_EQ(plain.read(name) != changed.read(name), format.usesOptions) << ext;
        std::vector<std::string> files{name};
        if (const auto side = SideFileName(plain.file(name), format))
            files.push_back(std::filesystem::path(*side).filename().string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(plain.entries(), files) << ext;
        EXPECT_EQ(written.heightRange.has_value(), format.reportsHeightRange()) << ext;

        const auto contents = [&] {
            std::string all;
            for (const std::string& file : files)
                all += plain.read(file);
            return all;
        };
        const std::string earlier = contents();
        GridSetup broken = *setup;
        broken.mapping.sx = 0;  // the first cell centre cannot be mapped: a platform fault
        EXPECT_THROW(WriteTerrainFile(broken, raster, plain.file(name), format), PlatformError);
        broken.heights = {};
        EXPECT_FALSE(WriteTerrainFile(broken, raster, plain.file(name), format).written);
        EXPECT_EQ(plain.entries(), files) << ext;
        EXPECT_EQ(contents(), earlier) << ext;
    }
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>(OutputFormats().size(), kNoHeightText));
    SetGrey16PngEncoder(nullptr);
}

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
