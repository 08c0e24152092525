#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "PathParts.h"
#include "PosixErrors.h"
#include "platform/FileLock.h"

namespace morvane::platform {
namespace {

std::chrono::milliseconds g_waitLimit{5000};

// Opens what will be locked: the regular file, or its folder when there is no file (yet).
int OpenLockTarget(const std::string& path, int& fd, bool& folder) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) return Failed(errno);
        fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return Failed(errno);
        folder = true;
        return 0;
    }
    // A device or a pipe is never opened: opening either can block or have side effects.
    if (!S_ISREG(info.st_mode)) return NotRegular(info.st_mode);
    // Read-write where allowed: some network file systems lock only files open for writing.
    fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Failed(errno);
    // A status that cannot be read is an error of its own, not a sign of another kind of file.
    const int status = Faulted(FileFault::LockStatus) ? -1 : fstat(fd, &info);
    const int error = status != 0 ? Failed(errno) : S_ISREG(info.st_mode) ? 0 : NotRegular(info.st_mode);
    if (error != 0) {
        close(fd);
        fd = -1;
        return error;
    }
    folder = false;
    return 0;
}

// Whether the path still names what `fd` is: the same file, or no file when a folder is locked.
bool StillNamed(const std::string& path, int fd, bool folder) {
    struct stat named {};
    if (stat(path.c_str(), &named) != 0) return folder && errno == ENOENT;
    if (folder) return false;
    struct stat held {};
    return fstat(fd, &held) == 0 && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

FileLock::~FileLock() { Unlock(); }

int FileLock::Lock(const std::string& path) {
    Unlock();
    const auto deadline = std::chrono::steady_clock::now() + g_waitLimit;
    std::chrono::milliseconds pause{1};
    while (true) {
        int fd = -1;
        bool folder = false;
        if (const int error = OpenLockTarget(path, fd, folder)) return error;
        while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error != EWOULDBLOCK && error != EINTR) {
                close(fd);
                return Failed(error);
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                close(fd);
                return kErrorLockViolation;
            }
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::milliseconds{20});
        }
        // The previous holder may have renamed a new file over the one this waited for.
        if (StillNamed(path, fd, folder)) {
            m_handle = fd;
            m_lockedFolder = folder;
            return 0;
        }
        close(fd);
        if (std::chrono::steady_clock::now() >= deadline) return kErrorLockViolation;
    }
}

void FileLock::Unlock() {
    if (m_handle < 0) return;
    close(m_handle);  // closing the last descriptor releases the lock
    m_handle = -1;
    m_lockedFolder = false;
}

bool FileLock::IsLocked() const { return m_handle >= 0; }

std::chrono::milliseconds LockWaitLimit() { return g_waitLimit; }

void SetLockWaitLimit(std::chrono::milliseconds limit) { g_waitLimit = limit; }

}  // namespace morvane::platform
