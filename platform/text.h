// Text helpers of the platform: number parsing, trimming, upper-casing, file extensions.
#pragma once

#include <string>

namespace quarn {

/// Parses a decimal real ("  -12.5e3 "); spaces before and after are allowed. Raises
/// "'%s' is not a valid floating point value" (with the text in place of %s) otherwise.
double StrToFloat(const std::string& text);

/// text without leading and trailing blanks and control characters (codes 0 to 32).
std::string Trim(const std::string& text);

/// text with "a" to "z" upper-cased; other characters unchanged.
std::string UpperCase(const std::string& text);

/// The text from the last "." to the end, or empty when a path separator ("/", "\" or ":")
/// follows that "." or there is none.
std::string ExtractFileExt(const std::string& fileName);

}  // namespace quarn
