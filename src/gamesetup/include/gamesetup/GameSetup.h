#pragma once

#include <optional>
#include <string>

// The game side of the settings: the game directory taken from a chosen program, what a launch
// result tells the user, and putting the edited rules file where the game reads it.
namespace morvane::gamesetup {

// The folder of a program path: the path cut before its file name, less the separator before it
// ("C:\Westwood\Redalert\RA95.exe" gives "C:\Westwood\Redalert").
std::string GameDirFromProgram(const std::string& programPath);

// The message a launch result calls for (none for a started program) and whether the user should
// then correct the program's location.
struct LaunchOutcome {
    std::optional<std::string> message;
    bool openProgramLocation = false;
};
LaunchOutcome DescribeLaunchResult(int result, const std::string& programPath);

// Makes the work directory usable: the current directory when it exists, else created (one
// level). False when neither works.
bool PrepareWorkDirectory(const std::string& workDir);

// Copying the rules file in use into the game directory as the file the game reads.
enum class InstallState {
    SameFile,   // the game already reads this very file
    Identical,  // the game's file has the same bytes
    Missing,    // the game directory has no rules file yet
    Different,  // the game's file differs: ask before replacing it
};
InstallState CheckGameRules(const std::string& rulesPath, const std::string& gameRulesPath);

// Copies the rules file over the game's; a replaced file that differed is kept beside it by
// BackUpFile (the first backup, "rules.ini.bak", is never replaced). Returns 0 or the error
// number of the failing write.
int InstallGameRules(const std::string& rulesPath, const std::string& gameRulesPath);

// Copies a rules file byte for byte; 0 or the error number.
int CopyRulesFile(const std::string& from, const std::string& to);

}  // namespace morvane::gamesetup
