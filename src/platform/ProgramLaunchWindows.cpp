#include <string_view>

#include "WideText.h"
#include "WindowsApi.h"
#include "platform/ProgramLaunch.h"

namespace morvane::platform {
namespace {

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EndsWithNoCase(std::wstring_view text, std::wstring_view ending) {
    if (text.size() < ending.size()) return false;
    const std::wstring_view tail = text.substr(text.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        if (LowerAscii(tail[i]) != ending[i]) return false;
    }
    return true;
}

// The system starts a batch file through the command interpreter, whose parsing of the
// command line is a different language; such a file is refused instead.
bool IsBatchFile(std::wstring_view path) { return EndsWithNoCase(path, L".bat") || EndsWithNoCase(path, L".cmd"); }

// The command line of a program started without arguments: its path, in quotes when it holds
// a blank or a tab (a Windows path cannot hold a quote, so nothing inside needs escaping).
std::wstring CommandLineOf(const std::wstring& path) {
    if (path.find_first_of(L" \t") == std::wstring::npos) return path;
    return L"\"" + path + L"\"";
}

int ResultOfError(DWORD error) {
    switch (error) {
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
        case ERROR_NO_SYSTEM_RESOURCES:
        case ERROR_COMMITMENT_LIMIT:
            return kLaunchOutOfMemory;
        case ERROR_FILE_NOT_FOUND:
            return kLaunchFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return kLaunchPathNotFound;
        default:
            // Not a program (ERROR_BAD_EXE_FORMAT), a folder, no permission: it cannot be run.
            return kLaunchNotAProgram;
    }
}

}  // namespace

int LaunchProgram(const std::string& programPath, const LaunchEnvironment&) {
    if (programPath.empty()) return kLaunchFileNotFound;
    const std::wstring path = WideFromUtf8(programPath);
    const auto info = FileInfoOf(path);
    if (!info) {
        const DWORD error = GetLastError();
        return ResultOfError(error == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : error);
    }
    if (IsFolder(*info) || IsBatchFile(path)) return kLaunchNotAProgram;

    // The application name is given as well as the command line, so the system neither
    // searches for the program nor splits its path at blanks.
    std::wstring commandLine = CommandLineOf(path);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_PROCESS_GROUP, nullptr,
                       nullptr, &startup, &process) == 0)
        return ResultOfError(GetLastError());
    // The program runs on its own: the editor neither waits for it nor keeps it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return kLaunchStarted;
}

}  // namespace morvane::platform
