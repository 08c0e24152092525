#include "platform/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstring>

namespace morvane::platform {
namespace {

bool IsDotOrDotDot(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

bool IsFolderEntry(const std::string& folder, const struct dirent& entry) {
#if defined(DT_DIR)
    // The entry type saves a stat() call for plain files and folders; links and file systems
    // that do not fill it in are looked at through stat(), which follows links.
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
#endif
    struct stat info {};
    return stat(JoinPath(folder, entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Calls `visit` with the name of each folder inside `path` until it returns false. False when
// the folder cannot be opened or reading it fails.
template <typename Visit>
bool ForEachSubFolder(const std::string& path, Visit visit) {
    DIR* listing = opendir(path.c_str());
    if (listing == nullptr) return false;
    bool ok = true;
    while (true) {
        errno = 0;
        const struct dirent* entry = readdir(listing);
        if (entry == nullptr) {
            ok = errno == 0;
            break;
        }
        if (IsDotOrDotDot(entry->d_name) || !IsFolderEntry(path, *entry)) continue;
        if (!visit(entry->d_name)) break;
    }
    closedir(listing);
    return ok;
}

}  // namespace

std::optional<std::vector<std::string>> ListSubFolders(const std::string& path) {
    std::vector<std::string> names;
    const bool ok = ForEachSubFolder(path, [&](const char* name) {
        names.emplace_back(name);
        return true;
    });
    if (!ok) return std::nullopt;
    return names;
}

bool HasSubFolder(const std::string& path) {
    bool found = false;
    ForEachSubFolder(path, [&](const char*) {
        found = true;
        return false;
    });
    return found;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    while (!folder.empty() && folder.back() == '/') folder.remove_suffix(1);
    while (!name.empty() && name.front() == '/') name.remove_prefix(1);
    std::string joined;
    joined.reserve(folder.size() + 1 + name.size());
    joined.append(folder).append("/").append(name);
    return joined;
}

}  // namespace morvane::platform
