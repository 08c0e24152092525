#include "WideText.h"
#include "WindowsApi.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"

namespace morvane::platform {

// Windows file names already match without regard to case, so the name as given is the match.
std::optional<std::string> FindFileNoCase(const std::string& path) {
    if (path.empty() || !FileInfoOf(WideFromUtf8(path))) return std::nullopt;
    return path;
}

std::optional<std::string> FindRegularFileNoCase(const std::string& path) {
    if (path.empty() || !IsRegularFile(path)) return std::nullopt;
    return path;
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
