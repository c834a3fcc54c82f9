#include "atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform_error.h"
#include "temp_file_guard.h"

namespace quarn {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBufferSize = 1 << 20;
constexpr int kMaxLinkDepth = 40;  // the kernel's own limit
constexpr std::string_view kTempMarker = ".quarn-tmp-";
constexpr std::string_view kTempRandom = "XXXXXX";
constexpr std::size_t kMaxNameInTemp = 100;  // keeps the temporary's name within NAME_MAX
constexpr auto kStaleAge = std::chrono::hours(24);

// The folder part of path with its slash ("maps/"), empty for a name in the current folder.
std::string FolderPrefix(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a chain of symbolic links ends at, existing or not.
std::string FollowLinks(std::string path) {
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return path;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length < 0)
            ThrowIoError(errno);
        const std::string next(target, static_cast<std::size_t>(length));
        path = next.starts_with('/') ? next : FolderPrefix(path) + next;
    }
    ThrowIoError(ELOOP);
}

bool IsTemporaryName(const std::string& name) {
    const std::size_t tail = kTempMarker.size() + kTempRandom.size();
    if (name.size() <= tail + 1 || name[0] != '.' ||
        name.compare(name.size() - tail, kTempMarker.size(), kTempMarker) != 0)
        return false;
    for (std::size_t i = name.size() - kTempRandom.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// A process killed outright (SIGKILL, power loss) cannot clean up; its leftovers go here.
void RemoveStaleTemporaries(const std::string& folder) {
    std::error_code ignored;
    const auto staleBefore = fs::file_time_type::clock::now() - kStaleAge;
    fs::directory_iterator entry(folder.empty() ? "." : folder, ignored), end;
    for (; !ignored && entry != end; entry.increment(ignored)) {
        std::error_code unreadable;
        if (IsTemporaryName(entry->path().filename().string()) &&
            entry->symlink_status(unreadable).type() == fs::file_type::regular &&
            entry->last_write_time(unreadable) < staleBefore && !unreadable)
            fs::remove(entry->path(), unreadable);
    }
}

// The temporary's name in folder (with its slash, or empty): hidden, after the target's
// (cut short, on a character boundary).
std::string TemporaryPattern(const std::string& folder, const std::string& target) {
    std::string name = target.substr(FolderPrefix(target).size());
    if (name.size() > kMaxNameInTemp) {
        std::size_t cut = kMaxNameInTemp;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return folder + "." + name + std::string(kTempMarker) + std::string(kTempRandom);
}

// The system's folder for temporary files, with its slash.
std::string SystemTemporaryFolder() {
    std::error_code unset;
    const fs::path folder = fs::temp_directory_path(unset);
    return (unset ? std::string("/tmp") : folder.string()) + "/";
}

// Copies the new content from the start of source over target, which keeps its identity;
// space is reserved first, so that a full disk is found before the old content is touched.
void CopyInPlace(int source, int target) {
    const off_t size = ::lseek(source, 0, SEEK_CUR);
    if (size < 0)
        ThrowIoError(errno);
    if (size > 0 && ::fallocate(target, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS)
        ThrowIoError(errno);
    std::vector<std::uint8_t> buffer(kBufferSize);
    for (off_t done = 0; done < size;) {
        const ssize_t got = ::pread(source, buffer.data(), buffer.size(), done);
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            ThrowIoError(got < 0 ? errno : EIO);
        }
        for (ssize_t put = 0; put < got;) {
            const ssize_t n =
                ::pwrite(target, buffer.data() + put, std::size_t(got - put), done + put);
            if (n < 0 && errno != EINTR)
                ThrowIoError(errno);
            put += std::max<ssize_t>(n, 0);
        }
        done += got;
    }
    if (::ftruncate(target, size) != 0 || (::fsync(target) != 0 && errno != EINVAL))
        ThrowIoError(errno);
}

}  // namespace

bool IsSameFile(const std::string& first, const std::string& second) {
    std::error_code missing;
    return fs::equivalent(first, second, missing);
}

AtomicFile::AtomicFile(std::string targetPath) : m_target(FollowLinks(std::move(targetPath))) {
    if (m_target.empty())
        ThrowIoError(ENOENT);
    m_buffer.reserve(kBufferSize);
    struct stat existing {};
    const bool replacing = ::stat(m_target.c_str(), &existing) == 0;
    if (replacing && (S_ISCHR(existing.st_mode) || S_ISBLK(existing.st_mode))) {
        // A device cannot be replaced by renaming: it takes the bytes itself.
        m_fd = ::open(m_target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (m_fd < 0)
            ThrowIoError(errno);
        return;
    }
    // Opening a pipe would wait for a reader forever; a folder or socket cannot be written.
    if (replacing && !S_ISREG(existing.st_mode))
        ThrowIoError(EACCES);
    // A rename asks only the folder; the file's own permission must be asked for.
    if (replacing && ::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0)
        ThrowIoError(errno);
    RemoveStaleTemporaries(FolderPrefix(m_target));
    // A rename would give the name a new file, leaving the old content under its other names.
    if (replacing && existing.st_nlink > 1) {
        prepareInPlace();
        return;
    }
    std::string pattern = TemporaryPattern(FolderPrefix(m_target), m_target);
    m_fd = ::mkstemp(pattern.data());
    // A folder the user may not write can still hold a file the user may.
    if (m_fd < 0 && replacing && (errno == EACCES || errno == EPERM)) {
        prepareInPlace();
        return;
    }
    // Creating fails with ENOENT only when the folder is missing: a path fault, not a file's.
    if (m_fd < 0)
        ThrowIoError(errno == ENOENT ? ENOTDIR : errno);
    guard(std::move(pattern));
    if (replacing) {
        // The owner stays only where the user may give files away (root); the bits stay always,
        // set after the owner because a change of owner clears the set-user-ID bit.
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
            [[maybe_unused]] const int kept = ::fchown(m_fd, existing.st_uid, existing.st_gid);
        }
        ::fchmod(m_fd, existing.st_mode & 07777);
        return;
    }
    // mkstemp creates 0600; a new file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
}

void AtomicFile::prepareInPlace() {
    // Opened now, so that a refusal comes before the work and the file stays the one named.
    m_targetFd = ::open(m_target.c_str(), O_WRONLY | O_CLOEXEC);
    if (m_targetFd < 0)
        ThrowIoError(errno);
    const std::string folder = SystemTemporaryFolder();
    RemoveStaleTemporaries(folder);
    std::string pattern = TemporaryPattern(folder, m_target);
    m_fd = ::mkstemp(pattern.data());
    if (m_fd < 0) {
        const int error = errno;
        ::close(std::exchange(m_targetFd, -1));
        ThrowIoError(error);
    }
    guard(std::move(pattern));
}

void AtomicFile::guard(std::string temporaryPath) {
    m_tempPath = std::move(temporaryPath);
    m_tempSlot = GuardTemporary(m_tempPath);
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
    if (m_targetFd >= 0) {
        CopyInPlace(m_fd, m_targetFd);
        const int target = std::exchange(m_targetFd, -1);
        if (::close(target) != 0)
            ThrowIoError(errno);
        discard();
        return;
    }
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
    ReleaseTemporary(m_tempSlot);
    m_tempSlot = -1;
    m_tempPath.clear();
}

void AtomicFile::discard() noexcept {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (m_targetFd >= 0)
        ::close(m_targetFd);
    m_targetFd = -1;
    // Removed before it is released, so a signal in between finds nothing left to do.
    if (!m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
    ReleaseTemporary(m_tempSlot);
    m_tempSlot = -1;
    m_tempPath.clear();
}

}  // namespace quarn
