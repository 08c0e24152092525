#pragma once

#include <optional>
#include <string>

namespace morvane::platform {

// The value of an environment variable; nothing when it is not set.
std::optional<std::string> EnvironmentVariable(const char* name);

}  // namespace morvane::platform
