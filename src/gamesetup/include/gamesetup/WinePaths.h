#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows paths on a host that is not Windows: the stored settings name folders such as
// C:\Westwood\Redalert, which Wine keeps under its prefix, one link per drive letter in
// <prefix>/dosdevices.
namespace morvane::gamesetup {

// A drive letter, ":" and then nothing or a "\" or "/".
bool IsWindowsDrivePath(std::string_view path);

// $WINEPREFIX when set and not empty, else ~/.wine; nothing when neither can be told.
std::optional<std::string> WinePrefix(const std::optional<std::string>& winePrefix,
                                      const std::optional<std::string>& home);

// The path inside the prefix: "C:\Westwood\Redalert" gives <prefix>/dosdevices/c:/Westwood/Redalert.
// Separators become "/", a trailing one is dropped; the drive letter is lower-cased as Wine
// names its links. `path` must be a drive path.
std::string MapThroughWinePrefix(std::string_view path, std::string_view prefix);

// The path as this host reaches it. On Windows, and for paths that are not drive paths, the
// path itself; elsewhere a drive path goes through the Wine prefix of the environment.
std::string HostPath(const std::string& path);

}  // namespace morvane::gamesetup
