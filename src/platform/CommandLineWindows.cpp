#include "WideText.h"
#include "WindowsApi.h"
#include "platform/CommandLine.h"

#include <shellapi.h>

namespace morvane::platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return argc < 1 ? std::vector<std::string>{} : std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

}  // namespace morvane::platform
