// The application's top-level error report and the wrapper around every UI event.
//
// A platform error that no command catches ends the command; RunGuarded shows it in a box
// captioned "Quarn 3D" with the error's text followed by ".", an error icon and OK, and the
// application keeps running.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace quarn {

class ErrorReporter {
  public:
    virtual ~ErrorReporter() = default;
    /// Shows the report; text already ends with ".".
    virtual void report(const std::string& text) = 0;
};

/// The report's text for an exception that ended a command: its own text followed by ".",
/// "Out of memory." for a failed allocation.
std::string ReportText(const std::exception& error);

/// Runs handler; an escaping exception is shown by the top-level report.
void RunGuarded(const std::function<void()>& handler);

/// A callable that runs handler guarded (for connecting signals).
template <typename F>
auto Guarded(F handler) {
    return [handler](auto&&...) { RunGuarded(handler); };
}

/// Replaces the reporter (nullptr restores the silent default); returns the previous one.
ErrorReporter* SetErrorReporter(ErrorReporter* reporter);

}  // namespace quarn
