#pragma once

#include <optional>
#include <string>

// Finding files the way the Windows file system does (without regard to letter case) and
// working with the current folder.
namespace morvane::platform {

// The path of an existing file or folder whose name matches the last part of `path`: the name
// exactly as given when that exists, else the one entry of the same folder whose name differs
// only in the case of ASCII letters (so "RULES.INI" finds "rules.ini"). When several differ only
// in case, the one first in byte order is taken. The folder part is used as given, not matched
// without case, and comes back unchanged. A symbolic link counts when what it points to exists.
// Nothing when there is no match or `path` is empty.
std::optional<std::string> FindFileNoCase(const std::string& path);

// The same search counting only regular files (through links): a folder, a pipe or a device
// named like the rules file is no rules file.
std::optional<std::string> FindRegularFileNoCase(const std::string& path);

// The current folder without a trailing "/" (except for "/" itself); nothing when the system
// cannot tell it (for example when it has been removed).
std::optional<std::string> CurrentDirectory();

// Makes `path` the current folder; false when it is not a folder that can be entered.
bool ChangeDirectory(const std::string& path);

// Creates one folder, whose permissions are all bits minus the process's umask. False when the
// path is empty, already exists (as anything) or its parent folder is missing.
bool CreateDirectory(const std::string& path);

}  // namespace morvane::platform
