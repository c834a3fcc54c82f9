// Running a program as a benchmark's child: its wall time, peak memory and exit status.
#pragma once

#include <string>
#include <vector>

namespace quarn::bench {

struct ChildRun {
    double seconds = 0;
    long peakKiB = 0;  // the child's peak resident memory
    int status = -1;   // the exit code, -1 when it did not exit normally or could not start
};

/// Runs args[0] with args, its standard output discarded, and waits for it.
ChildRun RunChild(const std::vector<std::string>& args);

}  // namespace quarn::bench
