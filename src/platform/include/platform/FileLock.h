#pragma once

#include <chrono>
#include <string>

// An exclusive advisory lock on a file, held by one writer from its read to its replace. It
// binds only programs that ask for it (every write of this program does); a program that does
// not is noticed by the identity check of the write itself.
namespace morvane::platform {

#ifdef _WIN32
using NativeFileHandle = void*;
#else
using NativeFileHandle = int;
#endif

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Locks the regular file at `path`, which must not be a symbolic link (resolve it first).
    // When there is no file there yet, the folder that will hold it is locked instead, so that
    // two writers creating the same file take turns too. Waits up to LockWaitLimit() for
    // another holder, then gives up with kErrorLockViolation. The lock is taken on what the
    // path names once it is held: a file replaced meanwhile by another writer's rename is
    // locked afresh. Returns 0 or an error number (kErrorNotRegularFile for anything that is
    // not a regular file or, for a missing file, a folder).
    int Lock(const std::string& path);
    void Unlock();

    bool IsLocked() const;
    // Whether the folder was locked because the file did not exist.
    bool LocksFolder() const { return m_lockedFolder; }
    // The open file or folder the lock is held on (on Windows, for a folder, its semaphore).
    NativeFileHandle Handle() const { return m_handle; }

private:
#ifdef _WIN32
    // Takes the lock of the folder that will hold `path` (a named semaphore on Windows).
    int LockFolder(const std::wstring& path, std::chrono::steady_clock::time_point deadline);

    NativeFileHandle m_handle = nullptr;
#else
    NativeFileHandle m_handle = -1;
#endif
    bool m_lockedFolder = false;
};

// How long a write waits for another writer's lock. Five seconds by default; tests shorten it.
std::chrono::milliseconds LockWaitLimit();
void SetLockWaitLimit(std::chrono::milliseconds limit);

}  // namespace morvane::platform
