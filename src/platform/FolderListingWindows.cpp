#include "WideText.h"
#include "WindowsApi.h"
#include "platform/FolderListing.h"

namespace morvane::platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// A folder entry, or a link to a folder that is there (a link to nothing cannot be entered).
bool IsFolderEntry(const std::string& folder, const WIN32_FIND_DATAW& entry) {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
    const auto info = FileInfoOf(WideFromUtf8(JoinPath(folder, Utf8FromWide(entry.cFileName))));
    return info && IsFolder(*info);
}

// Calls `visit` with the name of each folder inside `path` until it returns false. False when
// the folder cannot be listed or listing it fails part way.
template <typename Visit>
bool ForEachSubFolder(const std::string& path, Visit visit) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileExW(WideFromUtf8(JoinPath(path, "*")).c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        // The root of an empty drive has no entries at all, not even "." and "..".
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
        const auto info = FileInfoOf(WideFromUtf8(path));
        return info && IsFolder(*info);
    }
    bool ok = true;
    while (true) {
        if (!IsDotOrDotDot(entry.cFileName) && IsFolderEntry(path, entry) && !visit(Utf8FromWide(entry.cFileName)))
            break;
        if (FindNextFileW(search, &entry) == 0) {
            ok = GetLastError() == ERROR_NO_MORE_FILES;
            break;
        }
    }
    FindClose(search);
    return ok;
}

}  // namespace

std::optional<std::vector<std::string>> ListSubFolders(const std::string& path) {
    std::vector<std::string> names;
    const bool ok = ForEachSubFolder(path, [&](std::string name) {
        names.push_back(std::move(name));
        return true;
    });
    if (!ok) return std::nullopt;
    return names;
}

bool HasSubFolder(const std::string& path) {
    bool found = false;
    ForEachSubFolder(path, [&](const std::string&) {
        found = true;
        return false;
    });
    return found;
}

// Both "\" and "/" separate on Windows; the joint is written as "\".
std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    while (!folder.empty() && IsSeparator(folder.back())) folder.remove_suffix(1);
    while (!name.empty() && IsSeparator(name.front())) name.remove_prefix(1);
    std::string joined;
    joined.reserve(folder.size() + 1 + name.size());
    joined.append(folder).append("\\").append(name);
    return joined;
}

}  // namespace morvane::platform
