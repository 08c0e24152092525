#pragma once

#include <string>

#include "platform/FileAccess.h"

// For measuring only: what a write costs without its lock. Outside the platform's public
// headers, so that nothing but the benchmarks (which add this folder to their include path)
// can reach it.
namespace morvane::platform {

// EditFile without the lock. Never for real edits: another program's write may be lost.
int EditFileWithoutLock(const std::string& path, const FileEdit& edit);

}  // namespace morvane::platform
