#include "generate_command.h"

#include <gtest/gtest.h>

#include <fstream>

#include "generator_test_support.h"
#include "platform_error.h"
#include "scripted_ui.h"

namespace quarn {
namespace {

using testing::ScriptedUi;
using testing::TempFolder;

class GenerateCommand : public ::testing::Test {
  protected:
    bool Run(const std::optional<std::string>& answer) {
        ui.dialogAnswers.push_back(answer);
        return RunGenerate(fields, true, map);
    }

    ScriptedUi ui;
    TempFolder folder;
    GeneratorFields fields = testing::TwoByTwoFields();
    ClassifiedRaster map = testing::UniformRaster(20, 20, 0);
};

TEST_F(GenerateCommand, NoMapLoadedComesFirst) {
    fields.water = "";
    EXPECT_FALSE(RunGenerate(fields, false, ClassifiedRaster{}));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{kNoMapText});
    EXPECT_TRUE(ui.dialogs.empty());
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
            EXPECT_FALSE(RunGenerate(fields, true, map));
            EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{kValuesNotSetText});
        }
    EXPECT_TRUE(ui.dialogs.empty());
}

TEST_F(GenerateCommand, HeightsAreNotRequiredBeforeTheDialog) {
    fields.heights[0] = "";
    EXPECT_FALSE(Run(std::nullopt));
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(GenerateCommand, DialogFollowsTheOutputChoice) {
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
        ASSERT_EQ(ui.dialogs.size(), 1u) << c.choice;
        EXPECT_EQ(ui.dialogKinds[0], "save");
        const FileDialogRequest& r = ui.dialogs[0];
        EXPECT_EQ(r.title, "Generate 3D file");
        EXPECT_EQ(r.defaultExt, c.defaultExt) << c.choice;
        EXPECT_EQ(r.filter, c.filter) << c.choice;
        EXPECT_EQ(r.fileName, "");
        EXPECT_TRUE(r.overwritePrompt);
        EXPECT_TRUE(ui.boxes.empty()) << "cancelling is silent";
        EXPECT_TRUE(folder.entries().empty());
        ui.dialogs.clear();
        ui.dialogKinds.clear();
    }
}

TEST_F(GenerateCommand, RefusalShowsTheFirstFailingChecksMessageAndWritesNothing) {
    const struct {
        const char *interval, *fileName, *message;
    } cases[] = {{"100", "a.3df", "Invalid interval!"},
                 {"0", "a.3df", "Division by zero - Interval too small!"},
                 {"90", "a.3df", kGridTooSmallText},
                 {"50", "hills.3d", "Invalid file extension!"},
                 {"50", "hills.txt", "Invalid file extension!"},
                 {"50", "hills.", "Invalid file extension!"},
                 // The grid is prepared before the extension is looked at.
                 {"100", "hills.3d", "Invalid interval!"}};
    for (const auto& c : cases) {
        fields.interval = c.interval;
        const std::string name = folder.file(c.fileName);
        ui.boxes.clear();
        EXPECT_FALSE(Run(name));
        EXPECT_EQ(OutputFileName, name);
        EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{c.message}) << c.fileName;
        EXPECT_TRUE(folder.entries().empty());
    }
}

TEST_F(GenerateCommand, NoHeightSetIsRefusedByEveryWriter) {
    fields.heights[0] = "   ";
    for (const char* name : {"a.3df", "hills.asc", "hills.RAW", "hills.plgx"}) {
        ui.boxes.clear();
        EXPECT_FALSE(Run(folder.file(name)));
        EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Must set at least one height!"});
        EXPECT_TRUE(folder.entries().empty()) << name;
    }
}

TEST_F(GenerateCommand, TheNamesExtensionChoosesTheWriter) {
    const struct {
        const char *choice, *typed, *written, *firstLine;  // firstLine null: a 3DF file
    } cases[] = {{"3DF", "hills.3df", "hills.3df", nullptr},
                 {"ASC", "hills.3df", "hills.3df", nullptr},
                 {"3DF", "hills.3dfx", "hills.3dfx", nullptr},
                 {"3DF", "HILLS.3Df", "HILLS.3Df", nullptr},
                 {"3DF", "hills", "hills.3DF", nullptr},
                 {"3DF", "hills.asc", "hills.asc", "Named object: \"Quarn terrain\""},
                 {"3DF", "hills.RAW", "hills.RAW",
                  "-0.47368422 0.47368422 2.5 0.57894737 0.47368422 2.5 0.57894737 -0.57894737 "
                  "2.5"},
                 {"3DF", "hills.plgx", "hills.plgx", "# Quarn 3D terrain"}};
    for (const auto& c : cases) {
        TempFolder out;
        fields.outputChoice = c.choice;
        ui.dialogAnswers.push_back(out.file(c.typed));
        EXPECT_TRUE(RunGenerate(fields, true, map)) << c.typed;
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(OutputFileName, out.file(c.written));
        EXPECT_EQ(out.entries(), std::vector<std::string>{c.written});
        if (c.firstLine) {
            std::ifstream in(OutputFileName);
            std::string first;
            std::getline(in, first);
            EXPECT_EQ(first, c.firstLine);
            continue;
        }
        const auto parsed = testing::ParseTdf(testing::FileBytes(OutputFileName));
        EXPECT_EQ(parsed.vertices.size(), 4u) << c.typed;
        EXPECT_EQ(parsed.triangles.size(), 2u);
    }
}

TEST_F(GenerateCommand, ParserErrorsReachTheCaller) {
    fields.snow = "1 2";
    EXPECT_THROW(Run(folder.file("a.3df")), PlatformError);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(GenerateCommand, CancelKeepsTheLastChosenName) {
    ASSERT_TRUE(Run(folder.file("first.3df")));
    EXPECT_FALSE(Run(std::nullopt));
    EXPECT_EQ(OutputFileName, folder.file("first.3df"));
}

}  // namespace
}  // namespace quarn
