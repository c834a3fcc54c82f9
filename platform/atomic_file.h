// Writing a file so that it appears only when complete.
//
// AtomicFile writes into a temporary file beside the target (same folder, so the final rename
// cannot cross file systems), buffers its output, and renames it over the target on commit().
// Destroyed without commit() (an exception on the way) it removes the temporary file, so an
// earlier file of the target's name stays as it was. A target that is a device or a pipe
// (/dev/null, /dev/full) cannot be replaced and is written directly. Failures raise PlatformError
// with the operating system's reason ("Disk full", "File access denied", ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "binary_io.h"

namespace quarn {

class AtomicFile : public ByteSink {
  public:
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(std::span<const std::uint8_t> bytes) override;
    /// Flushes, syncs and renames the temporary file over the target.
    void commit();
    /// Empty when the target is written directly.
    const std::string& temporaryPath() const { return m_tempPath; }

  private:
    void flush();
    void discard() noexcept;

    std::string m_target;
    std::string m_tempPath;
    int m_fd = -1;
    std::vector<std::uint8_t> m_buffer;
};

}  // namespace quarn
