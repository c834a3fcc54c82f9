// What every use of GDAL here starts with: its drivers registered once, and its own error
// printing held back while a call runs, the call's failure read back as text.
#pragma once

#include <string>

namespace quarn {

class GdalSession {
  public:
    GdalSession();
    ~GdalSession();
    GdalSession(const GdalSession&) = delete;
    GdalSession& operator=(const GdalSession&) = delete;

    /// The text of GDAL's last failure in this session, or empty.
    static std::string lastError();
};

}  // namespace quarn
