#pragma once

#include <sys/stat.h>

#include <cerrno>

#include "FileAccessParts.h"
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

// What lies behind a POSIX errno value, for the words of a message.
inline FileProblem ProblemOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return FileProblem::NoPermission;
        case EROFS:
            return FileProblem::ReadOnlyDisk;
        case ENOENT:
            return FileProblem::Missing;
        case ENOTDIR:
            return FileProblem::NotAFolder;
        case ENAMETOOLONG:
            return FileProblem::PathTooLong;
        case ELOOP:
            return FileProblem::LinkLoop;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return FileProblem::DiskFull;
        case EIO:
            return FileProblem::InputOutput;
        case EFBIG:
            return FileProblem::TooLarge;
        default:
            return FileProblem::None;
    }
}

// The error for something other than a regular file, with what it is.
inline int NotRegular(unsigned mode) {
    FileProblem problem = FileProblem::Device;
    if ((mode & S_IFMT) == S_IFDIR) problem = FileProblem::Folder;
    if ((mode & S_IFMT) == S_IFIFO) problem = FileProblem::Pipe;
    if ((mode & S_IFMT) == S_IFSOCK) problem = FileProblem::Socket;
    return RecordFailure(kErrorNotRegularFile, problem);
}

// Records a failed system call's errno (see LastFileFailure) and returns its error number.
inline int Failed(int error) { return RecordFailure(WindowsErrorOf(error), ProblemOf(error)); }

}  // namespace morvane::platform
