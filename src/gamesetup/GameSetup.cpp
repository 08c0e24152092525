#include "gamesetup/GameSetup.h"

#include "gamesetup/RulesFileCopies.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/ProgramLaunch.h"

namespace morvane::gamesetup {

std::string GameDirFromProgram(const std::string& programPath) {
    const std::size_t slash = programPath.find_last_of("/\\");
    if (slash == std::string::npos) return {};
    return programPath.substr(0, slash);
}

LaunchOutcome DescribeLaunchResult(int result, const std::string& programPath) {
    switch (result) {
        case platform::kLaunchOutOfMemory:
            return {"Out of Memory", false};
        case platform::kLaunchFileNotFound:
            return {"File Not Found -" + programPath, true};
        case platform::kLaunchPathNotFound:
            return {"Path Not Found -" + programPath, true};
        case platform::kLaunchNotAProgram:
            return {"File Not An EXE -" + programPath, false};
        case platform::kLaunchNeedsWine:
            return {
                "Wine Is Needed To Start -" + programPath + "\nInstall Wine to run the Windows game on this system.",
                false};
        default:
            return {std::nullopt, false};
    }
}

bool PrepareWorkDirectory(const std::string& workDir) {
    return platform::ChangeDirectory(workDir) || platform::CreateDirectory(workDir);
}

InstallState CheckGameRules(const std::string& rulesPath, const std::string& gameRulesPath) {
    if (platform::IsSameFile(rulesPath, gameRulesPath)) return InstallState::SameFile;
    const auto installed = platform::ReadFileBytes(gameRulesPath);
    if (!installed) return InstallState::Missing;
    return installed == platform::ReadFileBytes(rulesPath) ? InstallState::Identical : InstallState::Different;
}

int InstallGameRules(const std::string& rulesPath, const std::string& gameRulesPath) {
    const auto bytes = platform::ReadFileBytes(rulesPath);
    if (!bytes) return platform::kErrorPathNotFound;
    const auto installed = platform::ReadFileBytes(gameRulesPath);
    if (installed && *installed != *bytes) {
        if (const int error = BackUpFile(gameRulesPath).error) return error;
    }
    return platform::ReplaceFileAtomically(gameRulesPath, *bytes);
}

int CopyRulesFile(const std::string& from, const std::string& to) {
    const auto bytes = platform::ReadFileBytes(from);
    if (!bytes) return platform::kErrorPathNotFound;
    return platform::ReplaceFileAtomically(to, *bytes);
}

}  // namespace morvane::gamesetup
