#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/FileAccess.h"
#include "WideText.h"
#include "WindowsApi.h"

namespace morvane::platform {
namespace {

int LastError() {
    const DWORD error = GetLastError();
    return error == 0 ? kErrorWriteFault : static_cast<int>(error);
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        // "C:file" lies in drive C's current folder, "file" in the process's.
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L".";
    }
    if (separator == 0 || (separator == 2 && path[1] == L':')) return path.substr(0, separator + 1);
    return path.substr(0, separator);
}

// The path made absolute, so that its folder is known (and some systems' ReplaceFileW wants it).
std::wstring FullPath(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}

// The path that holds the bytes of an existing file, as the system spells it: a symbolic link
// (or another reparse point) is followed to the file it names, so that the replace writes the
// file and not the link, and a name asked for in other letter case keeps its own.
std::wstring ResolveExisting(const std::wstring& path) {
    const UniqueHandle file = OpenToLookAt(path);
    if (!file.Valid()) return path;
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD length = GetFinalPathNameByHandleW(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return path;
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

// Gives the new file the attributes and the access control list of the one it replaces before
// it takes that one's place. ReplaceFileW does the same on Windows itself, but not every
// implementation of it does; where the list cannot be read or set, ReplaceFileW is left to it.
void CopyAttributesAndAccess(const std::wstring& from, DWORD attributes, const std::wstring& to) {
    constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    SetFileAttributesW(to.c_str(), (attributes & kSettable) != 0 ? attributes & kSettable : FILE_ATTRIBUTE_NORMAL);
    DWORD needed = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return;
    std::vector<unsigned char> descriptor(needed);
    if (GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed) != 0)
        SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) == 0) return false;
        done += wrote;
    }
    return true;
}

// A new, empty file in the folder with a name no other file has; its path comes back in
// `path`. The folder's inherited permissions apply to it.
UniqueHandle CreateTemporaryFile(const std::wstring& folder, std::wstring& path) {
    static std::uint32_t counter = 0;
    const std::wstring prefix = folder + (folder.ends_with(L'\\') || folder.ends_with(L'/') ? L"" : L"\\");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::uint64_t seed = GetTickCount64() ^ (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) ^
                                   (static_cast<std::uint64_t>(++counter) * 0x9E3779B97F4A7C15ull);
        wchar_t name[40];
        swprintf(name, 40, L".morvane-%016llx.tmp", static_cast<unsigned long long>(seed));
        path = prefix + name;
        UniqueHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid() || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return UniqueHandle();
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
    const std::wstring widePath = WideFromUtf8(path);
    if (widePath.empty()) return std::nullopt;
    const UniqueHandle file(
        CreateFileW(widePath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (true) {
        DWORD got = 0;
        if (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) == 0) return std::nullopt;
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    const UniqueHandle file = OpenToLookAt(WideFromUtf8(path));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK ||
        GetFileInformationByHandle(file.Get(), &info) == 0 || IsFolder(info))
        return std::nullopt;
    const auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
    // A FILETIME counts 100 ns steps since 1601; the identity counts nanoseconds since 1970.
    constexpr std::int64_t kStepsFrom1601To1970 = 116444736000000000;
    const auto steps = static_cast<std::int64_t>(join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    return FileIdentity{info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                        join(info.nFileSizeHigh, info.nFileSizeLow), (steps - kStepsFrom1601To1970) * 100};
}

bool FileExists(const std::string& path) {
    const auto info = FileInfoOf(WideFromUtf8(path));
    return info && !IsFolder(*info);
}

bool IsSameFile(const std::string& first, const std::string& second) {
    const auto a = FileInfoOf(WideFromUtf8(first));
    const auto b = FileInfoOf(WideFromUtf8(second));
    return a && b && a->dwVolumeSerialNumber == b->dwVolumeSerialNumber && a->nFileIndexHigh == b->nFileIndexHigh &&
           a->nFileIndexLow == b->nFileIndexLow;
}

int ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
    const std::wstring widePath = WideFromUtf8(path);
    if (widePath.empty()) return kErrorPathNotFound;
    const bool exists = GetFileAttributesW(widePath.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::wstring target = FullPath(exists ? ResolveExisting(widePath) : widePath);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) return kErrorAccessDenied;

    std::wstring temporary;
    UniqueHandle file = CreateTemporaryFile(FolderOf(target), temporary);
    if (!file.Valid()) return LastError();
    int error = 0;
    if (!WriteAll(file.Get(), bytes) || FlushFileBuffers(file.Get()) == 0) error = LastError();
    if (!file.Close() && error == 0) error = LastError();
    if (error == 0 && exists) CopyAttributesAndAccess(target, attributes, temporary);

    if (error == 0) {
        // ReplaceFileW gives the new file the old one's attributes, security descriptor,
        // creation time and alternate streams; a file that is new is simply moved into place
        // (and does not clobber one that appeared meanwhile).
        const BOOL moved = exists ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                                 REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                                  : MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        if (moved == 0) error = LastError();
        // The old file is gone but the new one kept its temporary name: put it in place.
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
            MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0)
            error = 0;
    }
    if (error != 0) {
        DeleteFileW(temporary.c_str());
        return error;
    }
    return 0;
}

}  // namespace morvane::platform
