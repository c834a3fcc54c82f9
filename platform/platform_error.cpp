#include "platform_error.h"

#include <cerrno>
#include <cstring>

namespace quarn {

std::string IoErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "File not found";
        case ENOTDIR:
            return "Path not found";
        case EACCES:
        case EPERM:
        case EROFS:
            return "File access denied";
        case ENOSPC:
        case EDQUOT:
            return "Disk full";
        case EISDIR:
            return "File access denied";
        case EMFILE:
        case ENFILE:
            return "Too many open files";
        case ENAMETOOLONG:
            return "Invalid file name";
        default:
            return std::string("I/O error: ") + std::strerror(errorNumber);
    }
}

void ThrowIoError(int errorNumber) {
    throw PlatformError(IoErrorText(errorNumber));
}

}  // namespace quarn
