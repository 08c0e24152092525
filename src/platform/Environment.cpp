#include "platform/Environment.h"

#include <cstdlib>

namespace morvane::platform {

std::optional<std::string> EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

}  // namespace morvane::platform
