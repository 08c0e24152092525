#pragma once

#include <optional>
#include <string>

// Starting the game (or any other program) from the editor, with the result numbers of the
// Windows call WinExec so that every platform reports the same values to the window.
namespace morvane::platform {

inline constexpr int kLaunchOutOfMemory = 0;
inline constexpr int kLaunchFileNotFound = 2;
inline constexpr int kLaunchPathNotFound = 3;
inline constexpr int kLaunchNotAProgram = 11;
inline constexpr int kLaunchStarted = 33;  // WinExec reports success with any value above 31
// Not a WinExec number: the file is a Windows program and there is no Wine to run it with
// (never on Windows itself).
inline constexpr int kLaunchNeedsWine = 1000;

// What the launch looks at from the outside world; tests replace it. Windows needs none of it.
struct LaunchEnvironment {
    // The list of folders searched for `wine`, in the form of the PATH variable. When absent,
    // the process's own PATH is used (and "/bin:/usr/bin" when that is unset too).
    std::optional<std::string> pathVariable;
};

// Starts the program and returns at once, without waiting for it to end.
//
// The path names the program file and nothing else: it is never split at blanks and never
// handed to a shell, so a blank, a ";" or a "$" in it is just part of the name. The program
// gets no arguments and starts in the current folder.
//
// On Windows the program is started by CreateProcessW with the path as the program's name
// (so the system does not search for it) and, quoted when it holds a blank, as the whole
// command line. A folder, and a batch file (*.bat, *.cmd, which the system would hand to its
// command interpreter), are kLaunchNotAProgram; the system's error numbers map to the results
// below, and one that means nothing here counts as kLaunchNotAProgram.
//
// Elsewhere, a native program is a regular file with an execute bit that begins with an ELF header or a
// "#!" line. A file named *.exe, *.com or *.bat (in any letter case) that is not native is run
// as `wine <path>` when a `wine` program is on the PATH, else kLaunchNeedsWine is returned.
// Anything else that exists (a folder, a text file, a file without execute permission) is
// kLaunchNotAProgram. A missing file gives kLaunchFileNotFound when its folder exists and
// kLaunchPathNotFound when it does not (or cannot be entered).
int LaunchProgram(const std::string& programPath, const LaunchEnvironment& env = {});

}  // namespace morvane::platform
