#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <thread>

#include "FileAccessParts.h"
#include "PathParts.h"
#include "WideText.h"
#include "WindowsApi.h"
#include "platform/FileAccess.h"
#include "platform/FileLock.h"

namespace morvane::platform {
namespace {

std::chrono::milliseconds g_waitLimit{5000};

// The lock is one byte far beyond the end of any file. Windows locks are mandatory for the
// bytes they cover; a byte no one reads or writes makes the lock bind only those who ask for
// it, like an advisory lock elsewhere.
constexpr DWORD kLockOffsetHigh = 0x40000000;

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// Whether the path still names what `handle` is: the same file, or no file when a folder is
// held because the file did not exist.
bool StillNamed(const std::wstring& path, HANDLE handle, bool folder) {
    const auto named = FileInfoOf(path);
    if (!named) return folder && GetLastError() == ERROR_FILE_NOT_FOUND;
    if (folder) return false;
    BY_HANDLE_FILE_INFORMATION held{};
    return GetFileInformationByHandle(handle, &held) != 0 && SameFile(held, *named);
}

// The name of the semaphore that stands for the lock of a folder: folders hold no byte locks,
// so writers creating a file there take turns on this instead. Upper case, as Windows names
// match without case.
std::wstring FolderSemaphoreName(const std::wstring& folder) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t unit : folder)
        hash = (hash ^ static_cast<std::uint16_t>(std::towupper(unit))) * 1099511628211ull;
    wchar_t name[64];
    swprintf(name, 64, L"Local\\morvane-folder-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

FileLock::~FileLock() { Unlock(); }

int FileLock::LockFolder(const std::wstring& path, std::chrono::steady_clock::time_point deadline) {
    const std::wstring folder = FolderOf(path);
    const auto info = FileInfoOf(folder);
    if (!info) {
        // The folder itself is missing: a missing folder on the file's path, as on other systems.
        const DWORD error = GetLastError();
        return FailedWindows(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error, path);
    }
    if (!IsFolder(*info)) return FailedWindows(ERROR_PATH_NOT_FOUND, path);
    // A semaphore, unlike a mutex, is not taken twice by one thread: two writers in one
    // thread wait for each other as two processes do.
    HANDLE semaphore = CreateSemaphoreW(nullptr, 1, 1, FolderSemaphoreName(folder).c_str());
    if (semaphore == nullptr) return FailedWindows(GetLastError());
    std::chrono::milliseconds pause{1};
    while (WaitForSingleObject(semaphore, 0) != WAIT_OBJECT_0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(semaphore);
            return kErrorLockViolation;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds{20});
    }
    m_handle = semaphore;
    m_lockedFolder = true;
    return 0;
}

int FileLock::Lock(const std::string& path) {
    Unlock();
    const std::wstring widePath = WideFromUtf8(path);
    if (widePath.empty()) return kErrorPathNotFound;
    const auto deadline = std::chrono::steady_clock::now() + g_waitLimit;
    std::chrono::milliseconds pause{1};
    while (true) {
        // Read-write where allowed, every kind of sharing: readers and the replace go on.
        UniqueHandle file(CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid() && GetLastError() == ERROR_ACCESS_DENIED)
            file = UniqueHandle(CreateFileW(widePath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND) return LockFolder(widePath, deadline);
            const auto info = FileInfoOf(widePath);
            if (info && IsFolder(*info)) return RecordFailure(kErrorNotRegularFile, FileProblem::Folder);
            return FailedWindows(error, widePath);
        }
        const DWORD type = GetFileType(file.Get());
        if (type != FILE_TYPE_DISK)
            return RecordFailure(kErrorNotRegularFile,
                                 type == FILE_TYPE_PIPE ? FileProblem::Pipe : FileProblem::Device);
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(file.Get(), &info) == 0) return FailedWindows(GetLastError());
        if (IsFolder(info)) return RecordFailure(kErrorNotRegularFile, FileProblem::Folder);
        while (true) {
            OVERLAPPED at{};
            at.OffsetHigh = kLockOffsetHigh;
            if (LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0) break;
            const DWORD error = GetLastError();
            if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) return FailedWindows(error);
            if (std::chrono::steady_clock::now() >= deadline) return kErrorLockViolation;
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::milliseconds{20});
        }
        // The previous holder may have put a new file in the place of the one this waited for.
        if (StillNamed(widePath, file.Get(), false)) {
            m_handle = file.Release();
            m_lockedFolder = false;
            return 0;
        }
        if (std::chrono::steady_clock::now() >= deadline) return kErrorLockViolation;
    }
}

void FileLock::Unlock() {
    if (m_handle == nullptr) return;
    if (m_lockedFolder) ReleaseSemaphore(m_handle, 1, nullptr);
    CloseHandle(m_handle);  // closing a file's handle releases its lock
    m_handle = nullptr;
    m_lockedFolder = false;
}

bool FileLock::IsLocked() const { return m_handle != nullptr; }

std::chrono::milliseconds LockWaitLimit() { return g_waitLimit; }

void SetLockWaitLimit(std::chrono::milliseconds limit) { g_waitLimit = limit; }

}  // namespace morvane::platform
