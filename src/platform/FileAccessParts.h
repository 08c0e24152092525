#pragma once

#include <string>

// What each system's half of file access provides to the shared part.
namespace morvane::platform {

// Where the copy of the old contents is kept after a write that rewrote the file at `path` in
// place was interrupted.
std::string InterruptedWriteCopyOf(const std::string& path);

// Counts one whole-file read (see FileReadCount).
void CountFileRead();

}  // namespace morvane::platform
