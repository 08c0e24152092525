#pragma once

#include <cerrno>

#include "platform/FileAccess.h"

// The Windows error number that stands for a POSIX errno value in what this layer reports.
namespace morvane::platform {

inline int WindowsErrorOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return kErrorAccessDenied;
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return kErrorPathNotFound;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return kErrorDiskFull;
        case EFBIG:
            return kErrorFileTooLarge;
        default:
            return kErrorWriteFault;
    }
}

}  // namespace morvane::platform
