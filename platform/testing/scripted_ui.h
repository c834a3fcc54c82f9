// Scripted stand-ins for message boxes, file dialogs and the error report, for window tests.
//
// While a ScriptedUi lives it answers every box and dialog from its queues and records what
// was asked. An unscripted box answers its first button's result; an unscripted dialog is
// cancelled.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "error_report.h"
#include "file_dialog.h"
#include "message_box.h"

namespace quarn::testing {

class ScriptedUi : public MessageBoxPresenter, public FileDialogPresenter, public ErrorReporter {
  public:
    ScriptedUi();
    ~ScriptedUi() override;

    int show(const MessageBoxRequest& request) override;
    std::optional<std::string> open(const FileDialogRequest& request) override;
    std::optional<std::string> save(const FileDialogRequest& request) override;
    void report(const std::string& text) override;

    /// Texts of the error boxes shown so far.
    std::vector<std::string> errorTexts() const;

    std::deque<int> boxAnswers;
    std::deque<std::optional<std::string>> dialogAnswers;
    std::vector<MessageBoxRequest> boxes;
    std::vector<FileDialogRequest> dialogs;
    std::vector<std::string> dialogKinds;  // "open" or "save", one per dialog
    std::vector<std::string> reports;

  private:
    std::optional<std::string> answerDialog(const FileDialogRequest& request, const char* kind);

    MessageBoxPresenter* m_previousBoxes;
    FileDialogPresenter* m_previousDialogs;
    ErrorReporter* m_previousReporter;
};

}  // namespace quarn::testing
