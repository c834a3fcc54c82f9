// Failures of the platform (file input and output, number parsing, floating-point faults).
//
// They carry the platform's own text ("Read beyond end of file", "Floating point division by
// zero", ...). Commands do not catch them: they end the command and reach the application's
// top-level error report, which shows the text followed by ".".
#pragma once

#include <stdexcept>
#include <string>

namespace quarn {

class PlatformError : public std::runtime_error {
  public:
    explicit PlatformError(const std::string& text) : std::runtime_error(text) {}
};

/// The platform's text for an operating-system error number (errno), e.g. "Disk full".
std::string IoErrorText(int errorNumber);

/// Throws PlatformError with the text for errorNumber.
[[noreturn]] void ThrowIoError(int errorNumber);

}  // namespace quarn
