#include "gamesetup/WinePaths.h"

#include "common/TextOps.h"
#include "platform/Environment.h"

namespace morvane::gamesetup {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool IsWindowsDrivePath(std::string_view path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':' &&
           (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

std::optional<std::string> WinePrefix(const std::optional<std::string>& winePrefix,
                                      const std::optional<std::string>& home) {
    if (winePrefix && !winePrefix->empty()) return *winePrefix;
    if (home && !home->empty()) return *home + "/.wine";
    return std::nullopt;
}

std::string MapThroughWinePrefix(std::string_view path, std::string_view prefix) {
    std::string mapped(prefix);
    while (!mapped.empty() && mapped.back() == '/') mapped.pop_back();
    mapped += "/dosdevices/";
    mapped += ToLowerAscii(path[0]);
    mapped += ':';
    for (char c : path.substr(2)) mapped += c == '\\' ? '/' : c;
    while (mapped.back() == '/') mapped.pop_back();
    return mapped;
}

std::string HostPath(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    if (!IsWindowsDrivePath(path)) return path;
    const auto prefix = WinePrefix(platform::EnvironmentVariable("WINEPREFIX"), platform::EnvironmentVariable("HOME"));
    return prefix ? MapThroughWinePrefix(path, *prefix) : path;
#endif
}

}  // namespace morvane::gamesetup
