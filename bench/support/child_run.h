// Running a program as a benchmark's child: its wall time, peak memory and exit status.
#pragma once

#include <string>
#include <vector>

namespace quarn::bench {

struct ChildRun {
    double seconds = 0;
    // The child's peak resident memory, as the system counts it: from the parent's own peak at
    // the start, so a parent that held more than the child ever does reports its own.
    long peakKiB = 0;
    int status = -1;  // the exit code, -1 when it did not exit normally or could not start
};

/// Runs args[0] with args, its standard output written to stdoutPath (discarded by default),
/// and waits for it.
ChildRun RunChild(const std::vector<std::string>& args,
                  const std::string& stdoutPath = "/dev/null");

}  // namespace quarn::bench
