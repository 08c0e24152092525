#include "platform/FileLookup.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace morvane::platform {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool IsRegular(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> FindNoCase(const std::string& path, bool (*counts)(const std::string&)) {
    if (path.empty()) return std::nullopt;
    if (counts(path)) return path;

    const std::size_t slash = path.rfind('/');
    const std::string prefix = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(prefix.size());
    if (name.empty()) return std::nullopt;  // a folder path ending in "/" that does not exist

    DIR* listing = opendir(prefix.empty() ? "." : prefix.c_str());
    if (listing == nullptr) return std::nullopt;
    std::optional<std::string> best;
    while (const struct dirent* entry = readdir(listing)) {
        const std::string_view candidate = entry->d_name;
        if (!EqualNoCase(candidate, name) || (best && candidate >= *best)) continue;
        if (counts(prefix + std::string(candidate))) best = std::string(candidate);
    }
    closedir(listing);
    if (!best) return std::nullopt;
    return prefix + *best;
}

}  // namespace

std::optional<std::string> FindFileNoCase(const std::string& path) { return FindNoCase(path, Exists); }

std::optional<std::string> FindRegularFileNoCase(const std::string& path) { return FindNoCase(path, IsRegular); }

std::optional<std::string> CurrentDirectory() {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
    std::string folder = buffer.data();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

bool ChangeDirectory(const std::string& path) { return !path.empty() && chdir(path.c_str()) == 0; }

bool CreateDirectory(const std::string& path) { return !path.empty() && mkdir(path.c_str(), 0777) == 0; }

}  // namespace morvane::platform
