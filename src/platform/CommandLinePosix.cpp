#include "platform/CommandLine.h"

namespace morvane::platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    if (argc < 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace morvane::platform
