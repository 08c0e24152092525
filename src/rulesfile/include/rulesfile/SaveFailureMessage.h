#pragma once

#include <string>
#include <string_view>

namespace morvane {

// The text of the message shown when a write to the file at `path` fails: the fixed first line
// with the number, the section and key, then what went wrong and what to do (for a refused
// write, 87, the caller adds which character is refused and why).
std::string SaveFailureMessage(int error, std::string_view section, std::string_view key, const std::string& path);

// The same for a write of the whole file (a copy saved under another name): the fixed first
// line, then what went wrong with `path` and what to do.
std::string SaveFailureMessage(int error, const std::string& path);

}  // namespace morvane
