#include "WideText.h"
#include "WindowsApi.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"

namespace morvane::platform {

namespace {

// An existing path with its last name spelled as the folder holds it. Windows finds a name in
// any letter case, so "MPLAYER.INI" opens "Mplayer.Ini"; what is shown and compared is the
// file's own spelling, as on systems that look for the name themselves.
std::string SpelledAsStored(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    if (wide.find_first_of(L"*?") != std::wstring::npos) return path;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(wide.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return path;  // a drive's root, a path ending in a separator
    FindClose(search);
    const std::size_t separator = wide.find_last_of(L"\\/");
    const bool drive = wide.size() > 1 && wide[1] == L':';  // "C:name", relative to the drive's folder
    const std::wstring folder = separator != std::wstring::npos ? wide.substr(0, separator + 1)
                                : drive                         ? wide.substr(0, 2)
                                                                : L"";
    return Utf8FromWide(folder + found.cFileName);
}

}  // namespace

std::optional<std::string> FindFileNoCase(const std::string& path) {
    if (path.empty() || !FileInfoOf(WideFromUtf8(path))) return std::nullopt;
    return SpelledAsStored(path);
}

std::optional<std::string> FindRegularFileNoCase(const std::string& path) {
    if (path.empty() || !IsRegularFile(path)) return std::nullopt;
    return SpelledAsStored(path);
}

std::optional<std::string> CurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return std::nullopt;
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size) return std::nullopt;
    folder.resize(length);
    // "C:\" keeps its separator; any other folder loses a trailing one.
    const bool driveRoot = folder.size() == 3 && folder[1] == L':';
    if (!driveRoot && folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return Utf8FromWide(folder);
}

bool ChangeDirectory(const std::string& path) {
    return !path.empty() && SetCurrentDirectoryW(WideFromUtf8(path).c_str()) != 0;
}

bool CreateDirectory(const std::string& path) {
    return !path.empty() && CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr) != 0;
}

}  // namespace morvane::platform
