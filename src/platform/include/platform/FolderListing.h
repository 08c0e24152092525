#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading which folders a folder holds, for the folder chooser.
namespace morvane::platform {

// The names of the folders inside `path`, in the order the system lists them (callers sort as
// they need), without "." and "..". A symbolic link to a folder counts as a folder, as it can be
// entered like one; a link to a file or to nothing does not. Nothing when the folder cannot be
// read (missing, not a folder, no permission, a read error part way).
std::optional<std::vector<std::string>> ListSubFolders(const std::string& path);

// Whether `path` holds at least one folder (as ListSubFolders counts them); stops at the first.
// False when the folder cannot be read.
bool HasSubFolder(const std::string& path);

// `folder` and `name` with exactly one "/" between them: slashes at the end of the folder and
// at the start of the name are merged, so JoinPath("/", "a") is "/a". An empty folder gives the
// name unchanged and an empty name gives the folder followed by one "/".
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace morvane::platform
