// Writing a file so that it appears only when complete.
//
// AtomicFile writes into a temporary file beside the target (same folder, so the final rename
// cannot cross file systems), buffers its output, and renames it over the target on commit().
// Destroyed without commit() (an exception on the way) it removes the temporary file, so an
// earlier file of the target's name stays as it was; SIGINT, SIGTERM, SIGHUP or SIGQUIT arriving
// while it lives removes it too, and the process then ends by that signal as it would have.
//
// The rename must not do what a plain open could not: a symbolic link is followed (the file it
// names is replaced, the link stays), a replaced file keeps its permission bits, and a target
// the user may not write, a folder, a pipe or a socket is refused at once ("File access
// denied"). A device (/dev/null, /dev/full) cannot be replaced and is written directly.
//
// Where a rename would not keep the file the target is, it is written in place instead: a file
// of several hard links (the other names would keep the old content), or a writable file in a
// folder the user may not write. The new content then goes completely into a temporary file
// in the system's temporary folder first, and commit() copies it over the target, whose space
// is reserved beforehand; only that copy touches the target, so a failure while writing leaves
// it as it was, and only a failure during the copy itself can leave it part new.
//
// Temporary files are named ".NAME.quarn-tmp-XXXXXX". Ones that a killed process left behind
// are removed by the next write into their folder once they are a day old. Failures raise
// PlatformError with the operating system's reason ("Disk full", "File access denied", ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "binary_io.h"

namespace quarn {

/// The refusal of a command whose output would overwrite its own input.
inline constexpr const char* kOutputIsInputText = "The output file is the input file!";

/// True when both names exist and are one file (the same name, a hard or symbolic link).
bool IsSameFile(const std::string& first, const std::string& second);

class AtomicFile : public ByteSink {
  public:
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::span<const std::uint8_t> bytes) override;
    /// Flushes, syncs and renames the temporary file over the target, or copies it into it.
    void commit();
    /// Empty when the target is written directly.
    const std::string& temporaryPath() const { return m_tempPath; }

  private:
    void prepareInPlace();
    void guard(std::string temporaryPath);
    void flush();
    void discard() noexcept;

    std::string m_target;  // symbolic links followed
    std::string m_tempPath;
    int m_tempSlot = -1;  // where the signal handler finds m_tempPath
    int m_fd = -1;
    int m_targetFd = -1;  // the target itself, when it is written in place
    std::vector<std::uint8_t> m_buffer;
};

}  // namespace quarn
