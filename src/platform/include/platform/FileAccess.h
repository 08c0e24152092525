#pragma once

#include <optional>
#include <string>

// Whole-file reads and safe whole-file writes. Errors are reported as Windows error numbers
// (0 success, 3 path not found, 5 access denied, 112 disk full, 29 any other write fault) so
// that every platform shows the user the same numbers.
namespace morvane::platform {

inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorWriteFault = 29;
inline constexpr int kErrorDiskFull = 112;

// The bytes of a file, or nothing when it cannot be read (missing, a folder, no permission).
std::optional<std::string> ReadFileBytes(const std::string& path);

bool FileExists(const std::string& path);

// Whether two paths name the same file (through links and differently spelled paths).
bool IsSameFile(const std::string& first, const std::string& second);

// Replaces the file's content: the new bytes go to a temporary file in the same folder, are
// flushed to disk and renamed over the file, which keeps its permissions. A symbolic link is
// followed and its target replaced. A file that does not exist is created. On failure the file
// is left as it was and the error number is returned.
int ReplaceFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace morvane::platform
