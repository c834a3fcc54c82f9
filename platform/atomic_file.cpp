#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform_error.h"

namespace quarn {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

AtomicFile::AtomicFile(std::string targetPath) : m_target(std::move(targetPath)) {
    m_buffer.reserve(kBufferSize);
    // A device or pipe cannot be replaced by renaming: such a target takes the bytes itself.
    struct stat existing {};
    if (::stat(m_target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
        !S_ISDIR(existing.st_mode)) {
        m_fd = ::open(m_target.c_str(), O_WRONLY | O_TRUNC);
        if (m_fd < 0)
            ThrowIoError(errno);
        return;
    }
    std::string pattern = folderOf(m_target);
    if (pattern == ".")
        pattern = "./";
    pattern += ".quarn-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkstemp(name.data());
    // Creating fails with ENOENT only when the folder is missing: a path fault, not a file's.
    if (m_fd < 0)
        ThrowIoError(errno == ENOENT ? ENOTDIR : errno);
    m_tempPath = name.data();
    // mkstemp creates 0600; a finished file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::write(std::span<const std::uint8_t> bytes) {
    if (m_buffer.size() + bytes.size() > kBufferSize)
        flush();
    if (bytes.size() > kBufferSize) {
        m_buffer.assign(bytes.begin(), bytes.end());
        flush();
        return;
    }
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

void AtomicFile::flush() {
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowIoError(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
}

void AtomicFile::commit() {
    flush();
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        ThrowIoError(errno);
    if (::close(m_fd) != 0) {
        m_fd = -1;
        ThrowIoError(errno);
    }
    m_fd = -1;
    if (m_tempPath.empty())
        return;
    if (::rename(m_tempPath.c_str(), m_target.c_str()) != 0)
        ThrowIoError(errno);
    m_tempPath.clear();
}

void AtomicFile::discard() noexcept {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
}

}  // namespace quarn
