#include "generate_command.h"

#include <gtest/gtest.h>

#include "generator_test_support.h"
#include "platform_error.h"
#include "scripted_ui.h"

namespace quarn {
namespace {

using testing::Fields;
using testing::ScriptedUi;
using testing::TempFolder;
using testing::UniformRaster;

class GenerateCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        fields = Fields("0", "10", "200", "100", "100", "50");
        fields.heights[0] = "100";
    }

    bool Run(const std::optional<std::string>& answer) {
        ui.dialogAnswers.push_back(answer);
        return RunGenerate(fields, true, map);
    }

    ScriptedUi ui;
    TempFolder folder;
    GeneratorFields fields;
    ClassifiedRaster map = UniformRaster(20, 20, 0);
};

TEST_F(GenerateCommand, NoMapLoadedComesFirst) {
    fields.water = "";
    EXPECT_FALSE(RunGenerate(fields, false, ClassifiedRaster{}));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{kNoMapText});
    EXPECT_TRUE(ui.dialogs.empty());
}

class BlankField : public GenerateCommand, public ::testing::WithParamInterface<int> {};

TEST_P(BlankField, AnyOfTheSixStopsBeforeTheDialog) {
    std::string* six[] = {&fields.water,    &fields.lawn,      &fields.snow,
                          &fields.mapWidth, &fields.mapHeight, &fields.interval};
    for (const char* blank : {"", "      ", " \t "}) {
        SetUp();
        *six[GetParam()] = blank;
        EXPECT_FALSE(RunGenerate(fields, true, map));
    }
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>(3, kValuesNotSetText));
    EXPECT_TRUE(ui.dialogs.empty());
}

INSTANTIATE_TEST_SUITE_P(EachField, BlankField, ::testing::Range(0, 6));

TEST_F(GenerateCommand, HeightsAreNotRequiredBeforeTheDialog) {
    fields.heights[0] = "";
    EXPECT_FALSE(Run(std::nullopt));
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_TRUE(ui.boxes.empty());
}

struct DialogCase {
    std::string choice, defaultExt, filter;
};

class GenerateDialog : public GenerateCommand, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(GenerateDialog, FollowsTheOutputChoice) {
    fields.outputChoice = GetParam().choice;
    EXPECT_FALSE(Run(std::nullopt));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogKinds[0], "save");
    const FileDialogRequest& r = ui.dialogs[0];
    EXPECT_EQ(r.title, "Generate 3D file");
    EXPECT_EQ(r.defaultExt, GetParam().defaultExt);
    EXPECT_EQ(r.filter, GetParam().filter);
    EXPECT_EQ(r.fileName, "");
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_TRUE(ui.boxes.empty());  // cancelling is silent
    EXPECT_TRUE(folder.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, GenerateDialog,
    ::testing::Values(DialogCase{"3DF", "3DF", "3DF (internal) format (*.3df)|*.3df"},
                      DialogCase{"ASC", "ASC", "ASC format (3D Studio) (*.asc)|*.asc"},
                      DialogCase{"RAW", "RAW", "RAW triangle format (no shading) (*.raw)|*.raw"},
                      DialogCase{"PLG", "PLG", "PLG object format (REND386) (*.plg)|*.plg"},
                      DialogCase{"3DF file", "3DF ", "3DF (internal) format (*.3df)|*.3df"}));

struct RefusalCase {
    std::string mapWidth, interval, fileName, message;
};

class GenerateRefusal : public GenerateCommand,
                        public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(GenerateRefusal, ShowsTheFirstFailingChecksMessageAndWritesNothing) {
    fields.mapWidth = GetParam().mapWidth;
    fields.interval = GetParam().interval;
    const std::string name = folder.file(GetParam().fileName);
    EXPECT_FALSE(Run(name));
    EXPECT_EQ(OutputFileName, name);
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{GetParam().message});
    EXPECT_TRUE(folder.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, GenerateRefusal,
    ::testing::Values(RefusalCase{"100", "100", "a.3df", "Invalid interval!"},
                      RefusalCase{"100", "0", "a.3df", "Division by zero - Interval too small!"},
                      RefusalCase{"100", "90", "a.3df", kGridTooSmallText},
                      RefusalCase{"100", "50", "hills.3d", "Invalid file extension!"},
                      RefusalCase{"100", "50", "hills.txt", "Invalid file extension!"},
                      RefusalCase{"100", "50", "hills.", "Invalid file extension!"},
                      // The grid is prepared before the extension is looked at.
                      RefusalCase{"100", "100", "hills.3d", "Invalid interval!"}));

TEST_F(GenerateCommand, NoHeightSetIsRefusedByTheWriter) {
    fields.heights[0] = "   ";
    EXPECT_FALSE(Run(folder.file("a.3df")));
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Must set at least one height!"});
    EXPECT_TRUE(folder.entries().empty());
}

struct WrittenCase {
    std::string choice, typed, written;
};

class GenerateWrites : public GenerateCommand, public ::testing::WithParamInterface<WrittenCase> {};

TEST_P(GenerateWrites, TheNamesExtensionChoosesTheWriter) {
    fields.outputChoice = GetParam().choice;
    EXPECT_TRUE(Run(folder.file(GetParam().typed)));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(OutputFileName, folder.file(GetParam().written));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{GetParam().written});
    const auto parsed = testing::ParseTdf(testing::FileBytes(OutputFileName));
    EXPECT_EQ(parsed.vertices.size(), 4u);
    EXPECT_EQ(parsed.triangles.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Table, GenerateWrites,
                         ::testing::Values(WrittenCase{"3DF", "hills.3df", "hills.3df"},
                                           WrittenCase{"ASC", "hills.3df", "hills.3df"},
                                           WrittenCase{"3DF", "hills.3dfx", "hills.3dfx"},
                                           WrittenCase{"3DF", "HILLS.3Df", "HILLS.3Df"},
                                           WrittenCase{"3DF", "hills", "hills.3DF"}));

TEST_F(GenerateCommand, ParserErrorsReachTheCaller) {
    fields.snow = "1 2";
    ui.dialogAnswers.push_back(folder.file("a.3df"));
    EXPECT_THROW(RunGenerate(fields, true, map), PlatformError);
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
