#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "FileAccessParts.h"
#include "PathParts.h"
#include "WideText.h"
#include "WindowsApi.h"
#include "measuring/UnlockedEdit.h"
#include "platform/FileAccess.h"
#include "platform/FileLock.h"

namespace morvane::platform {
namespace {

// The longest name a folder entry may have, and the longest path the system takes.
constexpr std::size_t kMaxNameUnits = 255;
constexpr std::size_t kMaxPathUnits = 32767;

bool TooLong(const std::wstring& path) {
    if (path.size() > kMaxPathUnits) return true;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find_first_of(L"\\/", start), path.size());
        if (end - start > kMaxNameUnits) return true;
        start = end + 1;
    }
    return false;
}

// The failure of a path the system could not follow, said as what is wrong with it: too long,
// a file where a folder should be, or a folder that does not exist.
int PathFailure(const std::wstring& path, DWORD error) {
    if (TooLong(path)) return RecordFailure(kErrorPathNotFound, FileProblem::PathTooLong);
    if (error == ERROR_INVALID_NAME) return RecordFailure(static_cast<int>(error), FileProblem::None);
    for (std::wstring folder = FolderOf(path);;) {
        if (const auto info = FileInfoOf(folder))
            return RecordFailure(kErrorPathNotFound, IsFolder(*info) ? FileProblem::Missing : FileProblem::NotAFolder);
        const std::wstring up = FolderOf(folder);
        if (up == folder) break;
        folder = up;
    }
    return RecordFailure(kErrorPathNotFound, FileProblem::Missing);
}

// The last error of a failed call, recorded with what lies behind it.
int LastError(const std::wstring& path = {}) { return FailedWindows(GetLastError(), path); }

std::uint64_t Join(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    // A FILETIME counts 100 ns steps since 1601; the identity counts nanoseconds since 1970.
    constexpr std::int64_t kStepsFrom1601To1970 = 116444736000000000;
    const auto steps =
        static_cast<std::int64_t>(Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    return FileIdentity{info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow),
                        Join(info.nFileSizeHigh, info.nFileSizeLow), (steps - kStepsFrom1601To1970) * 100};
}

// What the system knows about an open regular file; kErrorNotRegularFile for a device, a pipe
// or a folder.
int RegularFileInfo(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    const DWORD type = GetFileType(file);
    if (type != FILE_TYPE_DISK)
        return RecordFailure(kErrorNotRegularFile, type == FILE_TYPE_PIPE ? FileProblem::Pipe : FileProblem::Device);
    if (GetFileInformationByHandle(file, &info) == 0) return LastError();
    return IsFolder(info) ? RecordFailure(kErrorNotRegularFile, FileProblem::Folder) : 0;
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

// A path the system gave with its long-path prefix, spelled as users know it ("C:\x" rather than
// "\\?\C:\x", "\\server\x" rather than "\\?\UNC\server\x"), unless it is too long to go without.
std::wstring WithoutLongPathPrefix(const std::wstring& path) {
    constexpr std::wstring_view kPrefix = L"\\\\?\\";
    constexpr std::wstring_view kUncPrefix = L"\\\\?\\UNC\\";
    if (path.size() >= MAX_PATH + kPrefix.size()) return path;
    if (path.starts_with(kUncPrefix)) return L"\\\\" + path.substr(kUncPrefix.size());
    if (path.starts_with(kPrefix)) return path.substr(kPrefix.size());
    return path;
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
        if (length < buffer.size()) return WithoutLongPathPrefix(std::wstring(buffer.data(), length));
        buffer.resize(length + 1);
    }
}

// The file a write works on: absolute, links followed. Nothing for an empty path.
std::optional<std::wstring> TargetOf(const std::string& path) {
    const std::wstring widePath = WideFromUtf8(path);
    if (widePath.empty()) return std::nullopt;
    const bool exists = GetFileAttributesW(widePath.c_str()) != INVALID_FILE_ATTRIBUTES;
    return FullPath(exists ? ResolveExisting(widePath) : widePath);
}

// A file the write keeps beside `target` (".NAME" and the suffix), short enough that the name
// fits the 255 units a file name may have with the longest suffix (".morvane-tmp" and a digit).
std::wstring HelperPathOf(const std::wstring& target, std::wstring_view suffix) {
    const std::wstring name = NameOf(target);
    constexpr std::size_t kRoom = kMaxNameUnits - 1 - std::wstring_view(L".morvane-tmp9").size();
    const std::wstring base =
        name.size() <= kRoom ? name : name.substr(0, kRoom - 17) + L"." + WideFromUtf8(HashText(Utf8FromWide(name)));
    return FolderOf(target) + L"\\." + base + std::wstring(suffix);
}

// The first free name for a write's own file beside the target (see PickHelperPath): a folder
// of the usual name is stepped round.
int FreeHelperPath(const std::wstring& base, std::wstring& path) {
    return PickHelperPath(
        base, path,
        [](const std::wstring& name, bool& blocked) {
            const DWORD attributes = GetFileAttributesW(name.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) {
                const DWORD error = GetLastError();
                return error == ERROR_FILE_NOT_FOUND ? 0 : FailedWindows(error, name);
            }
            blocked = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            return 0;
        },
        Utf8FromWide(base));
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) == 0) return false;
        done += wrote;
    }
    return true;
}

// Reads the whole regular file from its start; `info` gets what it was before the read.
int ReadAll(HANDLE file, std::string& bytes, BY_HANDLE_FILE_INFORMATION& info) {
    CountFileRead();
    bytes.clear();
    if (const int error = RegularFileInfo(file, info)) return error;
    if (Join(info.nFileSizeHigh, info.nFileSizeLow) > kMaxFileBytes)
        return RecordFailure(kErrorFileTooLarge, FileProblem::TooLarge);
    LARGE_INTEGER start{};
    if (SetFilePointerEx(file, start, nullptr, FILE_BEGIN) == 0) return LastError();
    bytes.reserve(static_cast<std::size_t>(Join(info.nFileSizeHigh, info.nFileSizeLow)));
    char buffer[65536];
    while (true) {
        DWORD got = 0;
        if (ReadFile(file, buffer, sizeof buffer, &got, nullptr) == 0) return LastError();
        if (got == 0) break;
        bytes.append(buffer, got);
        // A file that grows while it is read stops at the limit too.
        if (bytes.size() > kMaxFileBytes) return RecordFailure(kErrorFileTooLarge, FileProblem::TooLarge);
    }
    // A file another program wrote during the read may have been read half old, half new.
    BY_HANDLE_FILE_INFORMATION after{};
    if (GetFileInformationByHandle(file, &after) == 0) return LastError();
    if (IdentityOf(after) != IdentityOf(info) || bytes.size() != Join(info.nFileSizeHigh, info.nFileSizeLow))
        return kChangedDuringRead;
    return 0;
}

// The identity of the file an open handle names.
int IdentityOfHandle(HANDLE file, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(file, &info) == 0) return LastError();
    identity = IdentityOf(info);
    return 0;
}

// Whether the path still names the file as it was read (or still nothing, for a new file).
bool Unchanged(const std::wstring& target, const std::optional<FileIdentity>& read) {
    const UniqueHandle file = OpenToLookAt(target);
    if (!file.Valid()) return !read && GetLastError() == ERROR_FILE_NOT_FOUND;
    BY_HANDLE_FILE_INFORMATION info{};
    return read && RegularFileInfo(file.Get(), info) == 0 && IdentityOf(info) == *read;
}

// Creates `path` afresh with `bytes` flushed to disk. A leftover of an interrupted write of
// the same name is removed first (the caller holds the lock).
int CreateHelperFile(const std::wstring& path, std::string_view bytes) {
    if (DeleteFileW(path.c_str()) == 0 && GetLastError() != ERROR_FILE_NOT_FOUND) return LastError();
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastError();
    int error = 0;
    if (!WriteAll(file.Get(), bytes) || FlushFileBuffers(file.Get()) == 0) error = LastError();
    if (!file.Close() && error == 0) error = LastError();
    if (error != 0) DeleteFileW(path.c_str());
    return error;
}

// Gives the new file the attributes and the access control list of the one it replaces before
// it takes that one's place. ReplaceFileW does the same on Windows itself, but not every
// implementation of it does; where the list cannot be read or set, ReplaceFileW is left to it.
void CopyAttributesAndAccess(const std::wstring& from, DWORD attributes, const std::wstring& to) {
    constexpr DWORD kSettable =
        FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    SetFileAttributesW(to.c_str(), (attributes & kSettable) != 0 ? attributes & kSettable : FILE_ATTRIBUTE_NORMAL);
    DWORD needed = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return;
    std::vector<unsigned char> descriptor(needed);
    if (GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed) != 0)
        SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

// The new bytes go to a helper file beside the target, which then takes the target's place
// (or, for a new file, its name) in one step.
int ReplaceByRename(const std::wstring& target, const BY_HANDLE_FILE_INFORMATION* existing,
                    const std::optional<FileIdentity>& read, std::string_view bytes, FileIdentity& written) {
    std::wstring temporary;
    if (const int error = FreeHelperPath(HelperPathOf(target, L".morvane-tmp"), temporary)) return error;
    if (const int error = CreateHelperFile(temporary, bytes)) return error;
    const auto discard = [&](int error) {
        DeleteFileW(temporary.c_str());
        return error;
    };
    if (existing != nullptr) CopyAttributesAndAccess(target, existing->dwFileAttributes, temporary);
    {
        // The new file keeps its identity when it takes the old one's name.
        const UniqueHandle made = OpenToLookAt(temporary);
        if (!made.Valid()) return discard(LastError());
        if (const int error = IdentityOfHandle(made.Get(), written)) return discard(error);
    }
    if (!Unchanged(target, read)) return discard(kStartAgain);
    if (existing == nullptr) {
        // Without MOVEFILE_REPLACE_EXISTING a file that appeared meanwhile is not clobbered.
        if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0) return 0;
        const DWORD error = GetLastError();
        return discard(error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? kStartAgain
                                                                                   : static_cast<int>(error));
    }
    const BOOL replaced =
        ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (replaced != 0) return 0;
    const int error = LastError();
    // The old file is gone but the new one kept its temporary name: put it in place.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
        MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0)
        return 0;
    return discard(error);
}

int WriteAt(HANDLE file, std::string_view bytes) {
    LARGE_INTEGER start{};
    if (SetFilePointerEx(file, start, nullptr, FILE_BEGIN) == 0 || !WriteAll(file, bytes) || SetEndOfFile(file) == 0 ||
        FlushFileBuffers(file) == 0)
        return LastError();
    return 0;
}

// Where the record of an in-place rewrite of the file with this identity is kept: under the
// user's local application data, named after the volume and the file id, so that every name of
// the file finds it.
std::optional<std::wstring> RecordPathOf(const FileIdentity& identity) {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || local[0] == 0) return std::nullopt;
    return std::wstring(local) + L"\\Morvane\\pending\\" + WideFromUtf8(RecordNameOf(identity.device, identity.inode));
}

std::optional<PendingRecord> ReadRecord(const std::optional<std::wstring>& recordPath) {
    if (!recordPath) return std::nullopt;
    const auto text = ReadFileBytes(Utf8FromWide(*recordPath));
    return text ? ParseRecord(*text) : std::nullopt;
}

// Looks at what an earlier in-place rewrite of this file left: the copy its record names
// (through any name of the file) and the copy beside this name. A copy of a write that had not
// begun or had finished is removed; one of a write cut short stops this write.
int CheckLeftCopies(const std::wstring& target, const FileIdentity& identity, const std::string& current, bool clear,
                    std::string* interrupted = nullptr) {
    const auto recordPath = RecordPathOf(identity);
    const auto record = ReadRecord(recordPath);
    std::vector<std::wstring> copies;
    if (record) copies.push_back(WideFromUtf8(record->copy));
    const std::wstring beside = HelperPathOf(target, L".morvane-old");
    if (copies.empty() || copies.front() != beside) copies.push_back(beside);
    for (const std::wstring& copy : copies) {
        if (GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        const auto bytes = ReadFileBytes(Utf8FromWide(copy));
        const bool recorded = record && WideFromUtf8(record->copy) == copy;
        if (!bytes || JudgeLeftCopy(*bytes, recorded ? record : std::nullopt, current) == LeftCopy::Interrupted) {
            if (interrupted != nullptr) *interrupted = Utf8FromWide(copy);
            return RecordFailure(kErrorInterruptedWrite, FileProblem::None, Utf8FromWide(copy));
        }
        if (clear && DeleteFileW(copy.c_str()) == 0) return LastError();
    }
    if (clear && recordPath) DeleteFileW(recordPath->c_str());
    return 0;
}

// Writes the record of an in-place rewrite (see RecordPathOf).
void WriteRecord(const std::optional<std::wstring>& recordPath, const std::wstring& copy, std::string_view bytes) {
    if (!recordPath) return;
    const std::wstring pending = FolderOf(*recordPath);
    CreateDirectoryW(FolderOf(pending).c_str(), nullptr);
    CreateDirectoryW(pending.c_str(), nullptr);
    const std::wstring temporary = *recordPath + L".tmp";
    if (CreateHelperFile(temporary, RecordText(PendingRecord{Utf8FromWide(copy), bytes.size(), HashText(bytes)})) != 0)
        return;
    if (MoveFileExW(temporary.c_str(), recordPath->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0)
        DeleteFileW(temporary.c_str());
}

// A file with several hard links is rewritten through its own handle, since a replace would
// give the name a new file and cut the other names loose. A complete copy of the old contents
// is kept beside it until the new contents are on disk.
int RewriteInPlace(const std::wstring& target, const std::optional<FileIdentity>& read, const std::string& current,
                   std::string_view bytes, FileIdentity& written) {
    // Opened first, so that a file that cannot be written leaves no copy behind.
    const UniqueHandle file(
        CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastError();
    const std::wstring copy = HelperPathOf(target, L".morvane-old");
    std::wstring copyTemporary;
    if (const int error = FreeHelperPath(HelperPathOf(target, L".morvane-tmp"), copyTemporary)) return error;
    if (const int error = CreateHelperFile(copyTemporary, current)) return error;
    // The copy is complete once it has its name: a crash before leaves only the temporary.
    if (MoveFileExW(copyTemporary.c_str(), copy.c_str(), MOVEFILE_WRITE_THROUGH) == 0) {
        const int error = LastError();
        DeleteFileW(copyTemporary.c_str());
        return error;
    }
    const auto recordPath = RecordPathOf(*read);
    WriteRecord(recordPath, copy, bytes);
    const auto dropCopy = [&](int result) {
        DeleteFileW(copy.c_str());
        if (recordPath) DeleteFileW(recordPath->c_str());
        return result;
    };
    if (!Unchanged(target, read)) return dropCopy(kStartAgain);
    int error = WriteAt(file.Get(), bytes);
    if (error == 0) error = IdentityOfHandle(file.Get(), written);
    if (error == 0) return dropCopy(0);
    // A failed rewrite puts the old bytes back; the copy stays when even that fails.
    if (WriteAt(file.Get(), current) == 0) return dropCopy(error);
    return RecordFailure(error, FileProblem::Cut, Utf8FromWide(copy));
}

int Rewrite(const std::wstring& target, const BY_HANDLE_FILE_INFORMATION& existing, const std::string& current,
            std::string_view bytes, FileIdentity& written) {
    // The read-only attribute makes a file read-only for everyone.
    if ((existing.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return RecordFailure(kErrorAccessDenied, FileProblem::ReadOnlyFile);
    const std::optional<FileIdentity> read = IdentityOf(existing);
    if (const int error = CheckLeftCopies(target, *read, current, true)) return error;
    if (existing.nNumberOfLinks > 1) return RewriteInPlace(target, read, current, bytes, written);
    return ReplaceByRename(target, &existing, read, bytes, written);
}

int Create(const std::wstring& target, std::string_view bytes, FileIdentity& written) {
    const auto folder = FileInfoOf(FolderOf(target));
    if (!folder || !IsFolder(*folder)) return PathFailure(target, ERROR_PATH_NOT_FOUND);
    return ReplaceByRename(target, nullptr, std::nullopt, bytes, written);
}

// Opens the file for a write without its lock: its handle, or `missing` when there is none.
int OpenWithoutLock(const std::wstring& target, UniqueHandle& file, bool& missing) {
    file = UniqueHandle(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() && GetLastError() == ERROR_ACCESS_DENIED)
        file = UniqueHandle(CreateFileW(target.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Valid()) return 0;
    const DWORD error = GetLastError();
    missing = error == ERROR_FILE_NOT_FOUND;
    return missing ? 0 : FailedWindows(error, target);
}

int EditFileLocking(const std::string& path, const FileEdit& edit, bool takeLock, FileIdentity* written,
                    std::string* writtenBytes) {
    ClearFailure();
    const auto target = TargetOf(path);
    if (!target) return RecordFailure(kErrorPathNotFound, FileProblem::Missing);
    return SettleFailure(RepeatWhileChanged([&](int) {
        FileLock lock;
        UniqueHandle unlocked;
        HANDLE file = nullptr;
        bool missing = false;
        if (takeLock) {
            if (const int error = lock.Lock(Utf8FromWide(*target))) return error;
            file = lock.Handle();
            missing = lock.LocksFolder();
        } else {
            if (const int error = OpenWithoutLock(*target, unlocked, missing)) return error;
            file = unlocked.Get();
        }
        BY_HANDLE_FILE_INFORMATION existing{};
        std::optional<std::string> current;
        if (!missing) {
            std::string bytes;
            if (const int error = ReadAll(file, bytes, existing)) return error;
            current = std::move(bytes);
        }
        std::string replacement;
        if (const int error = MakeEdit(edit, current, replacement)) return error;
        FileIdentity made;
        const int result =
            missing ? Create(*target, replacement, made) : Rewrite(*target, existing, *current, replacement, made);
        if (result == 0 && written != nullptr) *written = made;
        if (result == 0 && writtenBytes != nullptr) *writtenBytes = std::move(replacement);
        return result;
    }));
}

}  // namespace

int FailedWindows(DWORD error, const std::wstring& path) {
    switch (error) {
        case ERROR_SUCCESS:  // a call that failed without saying why
            return RecordFailure(kErrorWriteFault, FileProblem::None);
        case ERROR_FILE_NOT_FOUND:
            return RecordFailure(static_cast<int>(error), FileProblem::Missing);
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_INVALID_NAME:
        case ERROR_DIRECTORY:
            return PathFailure(path, error);
        case ERROR_CANT_RESOLVE_FILENAME:
            return RecordFailure(kErrorPathNotFound, FileProblem::LinkLoop);
        case ERROR_ACCESS_DENIED:
            return RecordFailure(kErrorAccessDenied, FileProblem::NoPermission);
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_DISK_FULL:
            return RecordFailure(static_cast<int>(error), FileProblem::DiskFull);
        case ERROR_CRC:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_WRITE_FAULT:
        case ERROR_READ_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE:
            return RecordFailure(static_cast<int>(error), FileProblem::InputOutput);
        default:
            return RecordFailure(static_cast<int>(error), FileProblem::None);
    }
}

std::optional<std::string> InterruptedWriteCopy(const std::string& path) {
    const FileFailure before = LastFileFailure();
    std::optional<std::string> found;
    const auto target = TargetOf(path);
    const auto identity = target ? IdentifyFile(Utf8FromWide(*target)) : std::nullopt;
    const auto current = identity ? ReadFileBytes(Utf8FromWide(*target)) : std::nullopt;
    std::string copy;
    if (current && CheckLeftCopies(*target, *identity, *current, false, &copy) != 0) found = copy;
    RecordFailure(before.error, before.problem, before.where);
    return found;
}

std::string InterruptedWriteCopyOf(const std::string& path) {
    const auto target = TargetOf(path);
    return target ? Utf8FromWide(HelperPathOf(*target, L".morvane-old")) : path;
}

FileReadResult ReadRegularFile(const std::string& path) {
    ClearFailure();
    const std::wstring widePath = WideFromUtf8(path);
    if (widePath.empty()) return {std::nullopt, RecordFailure(kErrorPathNotFound, FileProblem::Missing)};
    std::string bytes;
    const int error = RepeatWhileChanged([&](int) {
        const UniqueHandle file(CreateFileW(widePath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            const DWORD openError = GetLastError();
            // A folder cannot be opened as a file; say what it is rather than "access denied".
            const auto info = FileInfoOf(widePath);
            if (info && IsFolder(*info)) return RecordFailure(kErrorNotRegularFile, FileProblem::Folder);
            if (openError == ERROR_ACCESS_DENIED)
                return RecordFailure(kErrorAccessDenied, FileProblem::NoReadPermission);
            return FailedWindows(openError, widePath);
        }
        BY_HANDLE_FILE_INFORMATION info{};
        return ReadAll(file.Get(), bytes, info);
    });
    if (error != 0) return {std::nullopt, error};
    return {std::move(bytes), 0};
}

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    const UniqueHandle file = OpenToLookAt(WideFromUtf8(path));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || RegularFileInfo(file.Get(), info) != 0) return std::nullopt;
    return IdentityOf(info);
}

bool FileExists(const std::string& path) {
    const auto info = FileInfoOf(WideFromUtf8(path));
    return info && !IsFolder(*info);
}

bool IsRegularFile(const std::string& path) { return IdentifyFile(path).has_value(); }

bool IsSameFile(const std::string& first, const std::string& second) {
    const auto a = FileInfoOf(WideFromUtf8(first));
    const auto b = FileInfoOf(WideFromUtf8(second));
    return a && b && a->dwVolumeSerialNumber == b->dwVolumeSerialNumber && a->nFileIndexHigh == b->nFileIndexHigh &&
           a->nFileIndexLow == b->nFileIndexLow;
}

int EditFile(const std::string& path, const FileEdit& edit, FileIdentity* written, std::string* writtenBytes) {
    return EditFileLocking(path, edit, true, written, writtenBytes);
}

int EditFileWithoutLock(const std::string& path, const FileEdit& edit) {
    return EditFileLocking(path, edit, false, nullptr, nullptr);
}

int RemoveFileIf(const std::string& path, const std::function<bool(const std::string& current)>& remove) {
    ClearFailure();
    const auto target = TargetOf(path);
    if (!target) return kErrorPathNotFound;
    return SettleFailure(RepeatWhileChanged([&](int) {
        FileLock lock;
        if (const int error = lock.Lock(Utf8FromWide(*target))) return error;
        if (lock.LocksFolder()) return 0;
        BY_HANDLE_FILE_INFORMATION existing{};
        std::string bytes;
        if (const int error = ReadAll(lock.Handle(), bytes, existing)) return error;
        if (!remove(bytes)) return kErrorFileChanged;
        // The lock's handle shares deletion: the file goes once the lock is let go.
        if (DeleteFileW(target->c_str()) == 0) return LastError();
        return 0;
    }));
}

}  // namespace morvane::platform
