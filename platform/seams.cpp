// The seams' switchboard: the current presenters, the guarded-event wrapper and the busy
// cursor. Until the toolkit installs its presenters, boxes answer their first button,
// dialogs are cancelled and reports are dropped.
#include <exception>
#include <new>

#include "busy_cursor.h"
#include "error_report.h"
#include "file_dialog.h"
#include "message_box.h"

namespace quarn {

namespace {

class SilentPresenters : public MessageBoxPresenter,
                         public FileDialogPresenter,
                         public ErrorReporter {
  public:
    int show(const MessageBoxRequest& request) override {
        return FirstButtonResult(request.buttons);
    }
    std::optional<std::string> open(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> save(const FileDialogRequest&) override { return std::nullopt; }
    void report(const std::string&) override {}
};

SilentPresenters g_silent;
MessageBoxPresenter* g_messageBoxes = &g_silent;
FileDialogPresenter* g_fileDialogs = &g_silent;
ErrorReporter* g_errorReporter = &g_silent;
std::function<void()> g_showBusy;
std::function<void()> g_restoreBusy;

}  // namespace

int FirstButtonResult(MsgDlgButtons buttons) {
    // Buttons appear in the order of their bits, so the lowest one is the first.
    static constexpr struct {
        MsgDlgButton button;
        ModalResult result;
    } kOrder[] = {{mbYes, mrYes},       {mbNo, mrNo},       {mbOK, mrOk},
                  {mbCancel, mrCancel}, {mbAbort, mrAbort}, {mbRetry, mrRetry},
                  {mbIgnore, mrIgnore}, {mbAll, mrAll}};
    for (const auto& entry : kOrder)
        if (buttons & entry.button)
            return entry.result;
    return mrCancel;
}

std::string MessageBoxCaption(MsgDlgType type) {
    switch (type) {
        case MsgDlgType::Warning:
            return "Warning";
        case MsgDlgType::Error:
            return "Error";
        case MsgDlgType::Information:
            return "Information";
        case MsgDlgType::Confirmation:
            return "Confirm";
        case MsgDlgType::Custom:
            return "Quarn 3D";
    }
    return "Quarn 3D";
}

int ShowMessageBox(const std::string& text, MsgDlgType type, MsgDlgButtons buttons,
                   int helpContext) {
    return g_messageBoxes->show({text, type, buttons, helpContext});
}

void ShowErrorBox(const std::string& text) {
    ShowMessageBox(text, MsgDlgType::Error, mbAbort, 0);
}

MessageBoxPresenter* SetMessageBoxPresenter(MessageBoxPresenter* presenter) {
    MessageBoxPresenter* previous = g_messageBoxes;
    g_messageBoxes = presenter ? presenter : &g_silent;
    return previous;
}

std::optional<std::string> RunOpenDialog(const FileDialogRequest& request) {
    return g_fileDialogs->open(request);
}

std::optional<std::string> RunSaveDialog(const FileDialogRequest& request) {
    return g_fileDialogs->save(request);
}

FileDialogPresenter* SetFileDialogPresenter(FileDialogPresenter* presenter) {
    FileDialogPresenter* previous = g_fileDialogs;
    g_fileDialogs = presenter ? presenter : &g_silent;
    return previous;
}

std::string WithDefaultExtension(const std::string& name, const std::string& defaultExt) {
    const auto slash = name.find_last_of('/');
    const auto dot = name.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    if (defaultExt.empty() || hasExtension)
        return name;
    return name + "." + defaultExt;
}

std::string ReportText(const std::exception& error) {
    // The library's own text for a failed allocation is not the platform's.
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "Out of memory.";
    return std::string(error.what()) + ".";
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        g_errorReporter->report(ReportText(e));
    }
}

ErrorReporter* SetErrorReporter(ErrorReporter* reporter) {
    ErrorReporter* previous = g_errorReporter;
    g_errorReporter = reporter ? reporter : &g_silent;
    return previous;
}

BusyCursor::BusyCursor() {
    if (g_showBusy)
        g_showBusy();
}

BusyCursor::~BusyCursor() {
    if (g_restoreBusy)
        g_restoreBusy();
}

void SetBusyCursorHooks(std::function<void()> show, std::function<void()> restore) {
    g_showBusy = std::move(show);
    g_restoreBusy = std::move(restore);
}

}  // namespace quarn
