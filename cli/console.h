// How the command line talks: usage texts, and on stderr what the windows would show in
// boxes and error reports.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "message_box.h"

namespace quarn::cli {

/// While it lives, every message box of the system writes its text to stderr.
class StderrBoxes : public MessageBoxPresenter {
  public:
    StderrBoxes();
    ~StderrBoxes() override;
    StderrBoxes(const StderrBoxes&) = delete;
    StderrBoxes& operator=(const StderrBoxes&) = delete;

    int show(const MessageBoxRequest& request) override;
    /// True once a message was shown: the command failed.
    bool shown = false;

  private:
    MessageBoxPresenter* m_previous;
};

/// True (after printing usage on stdout) when args ask for help ("--help" or "-h").
bool HelpAsked(const std::vector<std::string>& args, const char* usage);

/// Prints usage on stderr; returns the exit code of wrong usage, 2.
int WrongUsage(const char* usage);

/// Runs command and returns its exit code; a platform error instead writes its text and "."
/// to stderr, as the application's error report would show it, and returns 1.
int RunReportingErrors(const std::function<int()>& command);

}  // namespace quarn::cli
