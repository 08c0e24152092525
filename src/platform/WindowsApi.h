#pragma once

// The Windows API for the Windows half of the platform layer; only its .cpp files include this.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// <windows.h> spells these API names as macros; the platform layer has functions of the same
// names, which must keep their own.
#undef CreateDirectory
#undef GetPrivateProfileString
#undef WritePrivateProfileString

#include <optional>
#include <string>

namespace morvane::platform {

// A kernel handle, closed when it goes out of scope.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.m_handle) { other.m_handle = INVALID_HANDLE_VALUE; }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_handle = other.m_handle;
            other.m_handle = INVALID_HANDLE_VALUE;
        }
        return *this;
    }

    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }
    // Hands the handle over to the caller, who closes it.
    HANDLE Release() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle;
    }
    // Closes the handle now; false (with the reason in GetLastError) when that fails.
    bool Close() {
        const bool ok = !Valid() || CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_handle;
};

inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The file or folder a path names, links followed, opened only to be looked at: no access
// rights asked for and every kind of sharing allowed, so files that others hold open and
// folders (backup semantics) open too.
inline UniqueHandle OpenToLookAt(const std::wstring& path) {
    if (path.empty()) return UniqueHandle();
    return UniqueHandle(
        CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// What the system knows about the file or folder a path names, links followed; nothing when
// it does not exist or cannot be looked at.
inline std::optional<BY_HANDLE_FILE_INFORMATION> FileInfoOf(const std::wstring& path) {
    const UniqueHandle file = OpenToLookAt(path);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || GetFileInformationByHandle(file.Get(), &info) == 0) return std::nullopt;
    return info;
}

inline bool IsFolder(const BY_HANDLE_FILE_INFORMATION& info) {
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Records a failed call's Windows error with what lies behind it (see LastFileFailure) and
// returns the error number reported for it. `path`, the path the call was given, tells a folder
// missing on it from a path too long or a file where a folder should be; these three come out
// as error 3 (the path not found), as on other systems.
int FailedWindows(DWORD error, const std::wstring& path = {});

}  // namespace morvane::platform
