// Temporary files that a terminating signal must not leave behind.
//
// While at least one guarded temporary exists, SIGINT, SIGTERM, SIGHUP and SIGQUIT remove every
// guarded file and then go on to what they would have done (usually ending the process); a
// signal the process ignores stays ignored. The handler only touches lock-free atomics and
// fixed buffers. At most eight files are guarded at once; a ninth goes unguarded.
#pragma once

#include <string>

namespace quarn {

/// Guards path; returns its slot, or -1 when it cannot be guarded.
int GuardTemporary(const std::string& path);
/// Ends the guard of slot (-1 does nothing); the last one restores the previous handlers.
void ReleaseTemporary(int slot);

}  // namespace quarn
