#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "busy_cursor.h"
#include "error_report.h"
#include "file_dialog.h"
#include "message_box.h"
#include "platform_error.h"
#include "scripted_ui.h"

namespace quarn {
namespace {

TEST(RunGuarded, ReportsAnEscapingErrorWithAFullStop) {
    testing::ScriptedUi ui;
    RunGuarded([] { throw PlatformError("Read beyond end of file"); });
    RunGuarded([] { throw std::bad_alloc(); });
    EXPECT_EQ(ui.reports, (std::vector<std::string>{"Read beyond end of file.", "Out of memory."}));
}

TEST(RunGuarded, ReportsNothingWhenTheHandlerSucceeds) {
    testing::ScriptedUi ui;
    bool ran = false;
    RunGuarded([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(ui.reports.empty());
}

TEST(RunGuarded, GuardedIgnoresTheSignalArguments) {
    testing::ScriptedUi ui;
    auto slot = Guarded([] { throw std::runtime_error("Disk full"); });
    slot(1, "clicked");
    EXPECT_EQ(ui.reports, std::vector<std::string>{"Disk full."});
}

struct ExtensionCase {
    const char* name;
    const char* ext;
    const char* expected;
};

TEST(WithDefaultExtension, AddsTheExtensionOnlyToANameWithout) {
    const ExtensionCase cases[] = {{"hills", "3df", "hills.3df"},
                                   {"hills.3df", "3df", "hills.3df"},
                                   {"hills.raw", "3df", "hills.raw"},
                                   {"maps.d/hills", "3df", "maps.d/hills.3df"},
                                   {"hills", "", "hills"}};
    for (const ExtensionCase& c : cases)
        EXPECT_EQ(WithDefaultExtension(c.name, c.ext), c.expected) << c.name;
}

struct FirstButtonCase {
    MsgDlgButtons buttons;
    int result;
};

TEST(SilentPresenters, BoxesAnswerTheirFirstButtonAndDialogsCancel) {
    const FirstButtonCase cases[] = {{mbOK, mrOk},
                                     {mbOK | mbCancel, mrOk},
                                     {mbAbort, mrAbort},
                                     {mbYes | mbNo, mrYes},
                                     {mbNo | mbCancel, mrNo},
                                     {mbRetry | mbCancel, mrCancel},
                                     {mbAll, mrAll},
                                     {0, mrCancel}};
    for (const FirstButtonCase& c : cases)
        EXPECT_EQ(ShowMessageBox("?", MsgDlgType::Confirmation, c.buttons, 0), c.result)
            << c.buttons;
    EXPECT_FALSE(RunOpenDialog({}).has_value());
    EXPECT_FALSE(RunSaveDialog({}).has_value());
    EXPECT_NO_THROW(RunGuarded([] { throw PlatformError("dropped"); }));
}

TEST(ScriptedUi, UnscriptedBoxesAndDialogs) {
    testing::ScriptedUi ui;
    EXPECT_EQ(ShowMessageBox("Go on?", MsgDlgType::Warning, mbOK | mbCancel, 0), mrOk);
    ShowErrorBox("Invalid interval!");
    EXPECT_FALSE(RunSaveDialog({"Save", "3DF|*.3df", "3df", "", true}).has_value());
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].type, MsgDlgType::Error);
    EXPECT_EQ(ui.boxes[1].buttons, mbAbort);
    EXPECT_EQ(ui.boxes[1].helpContext, 0);
    EXPECT_EQ(ui.errorTexts(), std::vector<std::string>{"Invalid interval!"});
    EXPECT_EQ(ui.dialogKinds, std::vector<std::string>{"save"});
    EXPECT_TRUE(ui.dialogs[0].overwritePrompt);
}

TEST(ScriptedUi, ScriptedAnswersComeInOrder) {
    testing::ScriptedUi ui;
    ui.boxAnswers = {mrCancel, mrYes};
    ui.dialogAnswers = {std::string("hills"), std::nullopt, std::string("map.bmp")};
    EXPECT_EQ(ShowMessageBox("a", MsgDlgType::Custom, mbOK | mbCancel, 0), mrCancel);
    EXPECT_EQ(ShowMessageBox("b", MsgDlgType::Custom, mbYes | mbNo, 0), mrYes);
    // The default extension is added as a real dialog would.
    EXPECT_EQ(RunSaveDialog({"", "", "3df", "", false}), "hills.3df");
    EXPECT_FALSE(RunOpenDialog({}).has_value());
    EXPECT_EQ(RunOpenDialog({"", "", "bmp", "", false}), "map.bmp");
    EXPECT_EQ(ui.dialogKinds, (std::vector<std::string>{"save", "open", "open"}));
}

TEST(ScriptedUi, RestoresThePreviousPresentersWhenGone) {
    {
        testing::ScriptedUi outer;
        {
            testing::ScriptedUi inner;
            ShowErrorBox("inner");
        }
        ShowErrorBox("outer");
        EXPECT_EQ(outer.errorTexts(), std::vector<std::string>{"outer"});
    }
    // Back to the silent default: nothing is recorded, the first button answers.
    EXPECT_EQ(ShowMessageBox("x", MsgDlgType::Custom, mbOK, 0), mrOk);
}

TEST(MessageBoxCaption, NamesTheBoxType) {
    EXPECT_EQ(MessageBoxCaption(MsgDlgType::Warning), "Warning");
    EXPECT_EQ(MessageBoxCaption(MsgDlgType::Error), "Error");
    EXPECT_EQ(MessageBoxCaption(MsgDlgType::Information), "Information");
    EXPECT_EQ(MessageBoxCaption(MsgDlgType::Confirmation), "Confirm");
    EXPECT_EQ(MessageBoxCaption(MsgDlgType::Custom), "Quarn 3D");
}

TEST(BusyCursor, ShowsAndRestoresOnEveryWayOut) {
    std::vector<std::string> calls;
    SetBusyCursorHooks([&] { calls.push_back("show"); }, [&] { calls.push_back("restore"); });
    { BusyCursor busy; }
    try {
        BusyCursor busy;
        throw PlatformError("Disk full");
    } catch (const PlatformError&) {
    }
    SetBusyCursorHooks(nullptr, nullptr);
    { BusyCursor busy; }
    EXPECT_EQ(calls, (std::vector<std::string>{"show", "restore", "show", "restore"}));
}

}  // namespace
}  // namespace quarn
