// The output formats' table: its rows say what their writers do, and a file name finds its row.
#include "output_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

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
        EXPECT_NE(format.writeMesh == nullptr, format.writeHeightmap == nullptr) << ext;
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
// options, the OBJ alone writes a file beside it, the heightmaps alone report a height range.
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

}  // namespace
}  // namespace quarn
