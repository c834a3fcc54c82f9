#include <gtest/gtest.h>

#include <cerrno>
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

TEST(IoErrorText, NamesTheCommonFailuresAndCarriesTheSystemReasonForOthers) {
    const struct {
        int number;
        const char* text;
    } cases[] = {{ENOENT, "File not found"},      {ENOTDIR, "Path not found"},
                 {EACCES, "File access denied"},  {EROFS, "File access denied"},
                 {EISDIR, "File access denied"},  {ENOSPC, "Disk full"},
                 {EMFILE, "Too many open files"}, {ENAMETOOLONG, "Invalid file name"}};
    for (const auto& c : cases)
        EXPECT_EQ(IoErrorText(c.number), c.text) << c.number;
    EXPECT_EQ(IoErrorText(EIO).rfind("I/O error: ", 0), 0u);
}

TEST(RunGuarded, ReportsAnEscapingErrorWithAFullStopAndNothingOnSuccess) {
    testing::ScriptedUi ui;
    bool ran = false;
    RunGuarded([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(ui.reports.empty());
    RunGuarded([] { throw PlatformError("Read beyond end of file"); });
    RunGuarded([] { throw std::bad_alloc(); });
    // Guarded slots ignore the signal's arguments.
    Guarded([] { throw std::runtime_error("Disk full"); })(1, "clicked");
    EXPECT_EQ(ui.reports, (std::vector<std::string>{"Read beyond end of file.", "Out of memory.",
                                                    "Disk full."}));
}

TEST(WithDefaultExtension, AddsTheExtensionOnlyToANameWithout) {
    const struct {
        const char *name, *ext, *expected;
    } cases[] = {{"hills", "3df", "hills.3df"},
                 {"hills.3df", "3df", "hills.3df"},
                 {"hills.raw", "3df", "hills.raw"},
                 {"maps.d/hills", "3df", "maps.d/hills.3df"},
                 {"hills", "", "hills"}};
    for (const auto& c : cases)
        EXPECT_EQ(WithDefaultExtension(c.name, c.ext), c.expected) << c.name;
}

TEST(SilentPresenters, BoxesAnswerTheirFirstButtonAndDialogsCancel) {
    const struct {
        MsgDlgButtons buttons;
        int result;
    } cases[] = {{mbOK, mrOk},
                 {mbOK | mbCancel, mrOk},
                 {mbAbort, mrAbort},
                 {mbYes | mbNo, mrYes},
                 {mbNo | mbCancel, mrNo},
                 {mbRetry | mbCancel, mrCancel},
                 {mbAll, mrAll},
                 {0, mrCancel}};
    for (const auto& c : cases)
        EXPECT_EQ(ShowMessageBox("?", MsgDlgType::Confirmation, c.buttons, 0), c.result)
            << c.buttons;
    EXPECT_FALSE(RunOpenDialog({}).has_value());
    EXPECT_FALSE(RunSaveDialog({}).has_value());
    EXPECT_NO_THROW(RunGuarded([] { throw PlatformError("dropped"); }));
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
