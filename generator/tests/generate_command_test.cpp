#include "generate_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include "atomic_file.h"
#include "busy_cursor.h"
#include "generator_test_support.h"
#include "map_state.h"
#include "platform_error.h"
#include "scripted_ui.h"
#include "temp_folder.h"
#include "terrain_file.h"
#include "window_mapping.h"

namespace quarn {
namespace {

using testing::ScriptedUi;
using testing::TempFolder;

class GenerateCommand : public ::testing::Test {
  protected:
    // A map is open: its file is named (it need not exist).
    void SetUp() override { MapFileName = mapFolder.file("open.bmp"); }
    void TearDown() override { MapFileName.clear(); }

    bool Run(const std::optional<std::string>& answer) {
        ui.dialogAnswers.push_back(answer);
        return RunGenerateCommand(fields, ClassifiedMap(map)).written;
    }

    ScriptedUi ui;
    TempFolder folder, mapFolder;
    GeneratorFields fields = testing::TwoByTwoFields();
    ClassifiedRaster map = testing::UniformRaster(20, 20, 0);
};

TEST_F(GenerateCommand, NoMapLoadedComesFirst) {
    fields.water = "";
    EXPECT_FALSE(RunGenerateCommand(fields, std::nullopt).written);
    // A map without its file name: the map window has closed.
    MapFileName.clear();
    EXPECT_FALSE(RunGenerateCommand(fields, ClassifiedMap(map)).written);
    EXPECT_EQ(ui.errorTexts(), (std::vector<std::string>{kNoMapText, kNoMapText}));
    EXPECT_TRUE(ui.dialogs.empty());
}

// The window's status bar and the command line's summary come from the result; the grid stays
// the program's.
TEST_F(GenerateCommand, TheResultTellsWhatWasWrittenAndTheGridStays) {
    g_GridSetup = {};
    ui.dialogAnswers.push_back(folder.file("hills.3df"));
    const GenerateResult result = RunGenerateCommand(fields, ClassifiedMap(map));
    ASSERT_TRUE(result.written);
    EXPECT_EQ(std::tuple(result.fileName, result.vertexCount, result.triangleCount),
              std::tuple(folder.file("hills.3df"), 4, 2));
    EXPECT_FALSE(result.heightRange) << "a 3DF file has none";
    ASSERT_TRUE(result.grid);
    EXPECT_EQ(std::tuple(result.grid->GridCols, result.grid->GridRows), std::tuple(2, 2));
    EXPECT_EQ(std::tuple(g_GridSetup.VertexCount, g_GridSetup.heights[0].height),
              std::tuple(4, 100.0f));
    EXPECT_EQ(g_WindowMapping.sx, result.grid->mapping.sx);

    fields.heights[1] = "-20";
    testing::Paint(map, 0, 10, 20, 10, 1);
    ui.dialogAnswers.push_back(folder.file("hills.r16"));
    const GenerateResult heightmap = RunGenerateCommand(fields, ClassifiedMap(map));
    ASSERT_TRUE(heightmap.written && heightmap.heightRange);
    EXPECT_EQ(HeightRangeText(*heightmap.heightRange), "0..100 map units");

    // A refusal after the grid leaves a result with the grid but nothing written.
    fields.heights = {};
    ui.dialogAnswers.push_back(folder.file("flat.3df"));
    const GenerateResult refused = RunGenerateCommand(fields, ClassifiedMap(map));
    EXPECT_FALSE(refused.written);
    EXPECT_TRUE(refused.grid);
    EXPECT_EQ(std::tuple(refused.fileName, refused.vertexCount), std::tuple("", 0));
}

// Classifying a large map takes a while: it waits until a file is to be written.
TEST_F(GenerateCommand, ClassifiesTheMapOnlyOnceAFileIsToBeWritten) {
    int classified = 0;
    const LoadedMap counted{20, 20, [&] {
                                ++classified;
                                return map;
                            }};
    ui.dialogAnswers.push_back(std::nullopt);
    EXPECT_FALSE(RunGenerateCommand(fields, counted).written) << "dialog cancelled";
    fields.interval = "100";
    ui.dialogAnswers.push_back(folder.file("t.3df"));
    EXPECT_FALSE(RunGenerateCommand(fields, counted).written) << "Invalid interval!";
    EXPECT_EQ(classified, 0);
    fields = testing::TwoByTwoFields();
    ui.dialogAnswers.push_back(folder.file("t.3df"));
    EXPECT_TRUE(RunGenerateCommand(fields, counted).written);
    EXPECT_EQ(classified, 1);
}

TEST_F(GenerateCommand, ABlankLevelOrSizeFieldStopsBeforeTheDialog) {
    std::string GeneratorFields::*six[] = {&GeneratorFields::water,     &GeneratorFields::lawn,
                                           &GeneratorFields::snow,      &GeneratorFields::mapWidth,
                                           &GeneratorFields::mapHeight, &GeneratorFields::interval};
    for (std::string GeneratorFields::*field : six)
        for (const char* blank : {"", "      ", " \t "}) {
            fields = testing::TwoByTwoFields();
            fields.*field = blank;
            ui.boxes.clear();
            EXPECT_FALSE(RunGenerateCommand(fields, ClassifiedMap(map)).written);
            EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{kValuesNotSetText});
        }
    EXPECT_TRUE(ui.dialogs.empty());
}

constexpr const char* kExports =
    "|STL solid for 3D printing (*.stl)|*.stl|OBJ mesh with materials (*.obj)|*.obj"
    "|PLY mesh with colours (*.ply)|*.ply|glTF binary (*.glb)|*.glb"
    "|16-bit heightmap PNG (*.png)|*.png|16-bit heightmap raw (*.r16)|*.r16"
    "|GeoTIFF elevation (*.tif)|*.tif|3MF print (*.3mf)|*.3mf";

TEST_F(GenerateCommand, DialogFollowsTheOutputChoiceAndComesBeforeAnyHeightIsNeeded) {
    fields.heights[0] = "";
    const struct {
        const char *choice, *defaultExt, *filter;
    } cases[] = {{"3DF", "3DF", "3DF (internal) format (*.3df)|*.3df"},
                 {"ASC", "ASC", "ASC format (3D Studio) (*.asc)|*.asc"},
                 {"RAW", "RAW", "RAW triangle format (no shading) (*.raw)|*.raw"},
                 {"PLG", "PLG", "PLG object format (REND386) (*.plg)|*.plg"},
                 {"3DF file", "3DF ", "3DF (internal) format (*.3df)|*.3df"}};
    for (const auto& c : cases) {
        fields.outputChoice = c.choice;
        EXPECT_FALSE(Run(std::nullopt));
        ASSERT_FALSE(ui.dialogs.empty());
        const FileDialogRequest& r = ui.dialogs.back();
        EXPECT_EQ(std::tuple(ui.dialogKinds.back(), r.title, r.fileName, r.overwritePrompt),
                  std::tuple("save", "Generate 3D file", "", true));
        // The panel's choice comes first, selected; the export formats follow.
        EXPECT_EQ(std::tuple(r.defaultExt, r.filter),
                  std::tuple(c.defaultExt, c.filter + std::string(kExports)))
            << c.choice;
    }
    EXPECT_EQ(ui.dialogs.size(), std::size(cases));
    EXPECT_TRUE(ui.boxes.empty()) << "cancelling is silent";
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(GenerateCommand, RefusalShowsTheFirstFailingChecksMessageAndWritesNothing) {
    const struct {
        const char *interval, *height, *fileName, *message;
    } cases[] = {{"100", "100", "a.3df", "Invalid interval!"},
                 {"0", "100", "a.3df", "Division by zero - Interval too small!"},
                 {"50", "100", "hills.3d", "Invalid file extension!"},
                 // The grid is prepared before the extension is looked at.
                 {"100", "100", "hills.3d", "Invalid interval!"},
                 {"50", "   ", "a.3df", "Must set at least one height!"}};
    for (const auto& c : cases) {
        fields.interval = c.interval;
        fields.heights[0] = c.height;
        const std::string name = folder.file(c.fileName);
        ui.boxes.clear();
        EXPECT_FALSE(Run(name));
        EXPECT_EQ(OutputFileName, name);
        EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{c.message}) << c.fileName;
        EXPECT_TRUE(folder.entries().empty());
    }
}

TEST_F(GenerateCommand, TheNamesExtensionChoosesTheWriter) {
    constexpr const char* k3DF = "\x03\x33\x44";  // the 3DF header bytes
    const struct {
        const char *choice, *typed, *written, *start;
    } cases[] = {{"3DF", "hills.3df", "hills.3df", k3DF},
                 {"ASC", "hills.3df", "hills.3df", k3DF},
                 {"3DF", "hills", "hills.3DF", k3DF},
                 {"3DF", "hills.asc", "hills.asc", "Named object: \"Quarn terrain\"\n"},
                 {"3DF", "hills.RAW", "hills.RAW", "-0.47368422 0.47368422 2.5 0.57894737 "},
                 {"3DF", "hills.plgx", "hills.plgx", "# Quarn 3D terrain\n"}};
    for (const auto& c : cases) {
        TempFolder out;
        fields.outputChoice = c.choice;
        ui.dialogAnswers.push_back(out.file(c.typed));
        EXPECT_TRUE(RunGenerateCommand(fields, ClassifiedMap(map)).written) << c.typed;
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(OutputFileName, out.file(c.written));
        EXPECT_EQ(out.entries(), std::vector<std::string>{c.written});
        EXPECT_TRUE(out.read(c.written).starts_with(c.start)) << c.typed;
    }
}

// Two bands side by side: each surface gives what the 3DF writer alone writes of the raster
// marked with it, and the two differ.
TEST_F(GenerateCommand, TheSurfaceOptionReachesTheWriter) {
    fields.heights[1] = "200";
    testing::Paint(map, 10, 0, 10, 20, 1);
    std::vector<std::string> written;
    for (Surface surface : {Surface::Terraced, Surface::Smooth}) {
        ui.dialogAnswers.push_back(folder.file("hills.3df"));
        ASSERT_TRUE(
            RunGenerateCommand(fields, ClassifiedMap(map), ExportOptions{.surface = surface})
                .written);
        map.smooth = surface == Surface::Smooth;
        ASSERT_TRUE(Write_3DF(g_GridSetup, map, folder.file("alone.3df")));
        EXPECT_EQ(folder.read("hills.3df"), folder.read("alone.3df"));
        written.push_back(folder.read("hills.3df"));
    }
    EXPECT_NE(written[0], written[1]);
}

// Smoothing a large map takes seconds: the busy cursor, shown once the map is classified,
// stays until the file is complete (it was back to the arrow while the surface was smoothed).
TEST_F(GenerateCommand, TheBusyCursorStaysUntilTheFileIsWritten) {
    testing::Paint(map, 10, 0, 10, 20, 1);
    fields.heights[1] = "200";
    for (Surface surface : {Surface::Terraced, Surface::Smooth})
        for (const char* name : {"busy.3df", "busy.obj"}) {
            const std::string file = folder.file(name);
            std::filesystem::remove(file);
            int depth = 0;
            std::vector<bool> writtenWhenIdle;
            SetBusyCursorHooks([&] { ++depth; },
                               [&] {
                                   if (--depth == 0)
                                       writtenWhenIdle.push_back(std::filesystem::exists(file));
                               });
            ui.dialogAnswers.push_back(file);
            EXPECT_TRUE(
                RunGenerateCommand(fields, ClassifiedMap(map), {.surface = surface}).written);
            SetBusyCursorHooks(nullptr, nullptr);
            EXPECT_EQ(writtenWhenIdle, std::vector<bool>{true})
                << name << (surface == Surface::Smooth ? " smooth" : " terraced");
        }
}

TEST_F(GenerateCommand, ParserErrorsReachTheCaller) {
    fields.snow = "1 2";
    EXPECT_THROW(Run(folder.file("a.3df")), PlatformError);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(folder.entries().empty());
}

// Mends: an OBJ export wrote its material library over a map named like it (land.mtl).
TEST_F(GenerateCommand, TheOpenMapIsNeverWrittenOverEvenUnderAnotherNameOrAsASideFile) {
    MapFileName = folder.write("map.bmp", "BM");
    std::filesystem::create_hard_link(MapFileName, folder.file("map.3df"));
    std::filesystem::create_symlink("map.bmp", folder.file("link.mtl"));
    const std::string land = folder.write("land.mtl", "BM");
    const std::string sideText = ", written with the output file, is the input file!";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {MapFileName, folder.file("map.3df"), kOutputIsInputText},
        {MapFileName, folder.file("link.obj"), "The file " + folder.file("link.mtl") + sideText},
        {land, folder.file("land.obj"), "The file " + folder.file("land.mtl") + sideText},
        {land, folder.file("sub/../land.obj"),
         "The file " + folder.file("sub/../land.mtl") + sideText},
    };
    std::filesystem::create_directory(folder.path() / "sub");
    for (const auto& [input, output, refusal] : cases) {
        MapFileName = input;
        ui.boxes.clear();
        EXPECT_FALSE(Run(output)) << output;
        EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{refusal});
    }
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{"land.mtl", "link.mtl", "map.3df", "map.bmp", "sub"}));
    EXPECT_EQ(folder.read("map.3df") + folder.read("land.mtl"), "BMBM");
    MapFileName.clear();
}

TEST_F(GenerateCommand, CancelKeepsTheLastChosenName) {
    ASSERT_TRUE(Run(folder.file("first.3df")));
    EXPECT_FALSE(Run(std::nullopt));
    EXPECT_EQ(OutputFileName, folder.file("first.3df"));
}

}  // namespace
}  // namespace quarn
