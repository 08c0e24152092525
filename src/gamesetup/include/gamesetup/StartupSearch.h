#pragma once

#include <optional>
#include <string>
#include <vector>

// Finding the rules file at start-up: the command-line path, else rules.ini in the start
// directory, the work directory and the game directory; when none exists, the user is told
// and may correct the directories.
namespace morvane::gamesetup {

// The three settings of section "Setting".
struct Settings {
    std::string workDir;
    std::string gameDir;
    std::string gameExe;
};

inline constexpr const char* kDefaultGameDir = "C:\\Westwood\\Redalert";
inline constexpr const char* kDefaultGameExe = "C:\\Westwood\\Redalert\\RA95.exe";
inline constexpr const char* kRulesFileName = "rules.ini";

// What the search needs from the program around it.
class StartupHost {
public:
    virtual ~StartupHost() = default;
    // The stored settings, with their defaults filled in (the work directory defaults to the
    // start directory).
    virtual Settings ReadSettings() = 0;
    // The path of the entry that exists under this name (letter case may differ), if any.
    virtual std::optional<std::string> FindExisting(const std::string& path) = 0;
    // Tells the user that this rules file could not be loaded.
    virtual void ReportFailedToLoad(const std::string& path) = 0;
    // Lets the user correct the directories; false when the user cancels.
    virtual bool RunProgramLocation() = 0;
};

// The command-line arguments joined with single blanks and trimmed: one path, even when the
// shell split an unquoted path with blanks into pieces.
std::string JoinCommandLine(const std::vector<std::string>& args);

// A directory without one trailing separator ("/" becomes "", so that "/rules.ini" follows).
std::string WithoutTrailingSeparator(std::string directory);

// The rules-file path inside a directory.
std::string RulesPathIn(const std::string& directory);

// Runs the search; nothing when the user gives up (cancels Program Location).
std::optional<std::string> LocateRulesFile(std::string commandLinePath, const std::string& startDir, StartupHost& host);

// "Failed To Load - <path>", and on the next line why the file cannot be read (missing, a
// folder, a pipe, too large, no permission, a loop of links).
std::string FailedToLoadMessage(const std::string& path);

}  // namespace morvane::gamesetup
