#include "gamesetup/StartupSearch.h"

#include "common/TextOps.h"
#include "gamesetup/WinePaths.h"
#include "platform/FileAccess.h"

namespace morvane::gamesetup {

std::string JoinCommandLine(const std::vector<std::string>& args) {
    std::string joined;
    for (const std::string& arg : args) joined += " " + arg;
    return std::string(Trim(joined));
}

std::string WithoutTrailingSeparator(std::string directory) {
    if (!directory.empty() && (directory.back() == '/' || directory.back() == '\\')) directory.pop_back();
    return directory;
}

std::string RulesPathIn(const std::string& directory) {
#ifdef _WIN32
    return directory + "\\" + kRulesFileName;
#else
    return directory + "/" + kRulesFileName;
#endif
}

std::string FailedToLoadMessage(const std::string& path) {
    const platform::FileReadResult read = platform::ReadRegularFile(path);
    if (read.bytes) return "Failed To Load - " + path;
    return "Failed To Load - " + path + "\n" + platform::DescribeFileError(read.error, path);
}

std::optional<std::string> LocateRulesFile(std::string commandLinePath, const std::string& startDir,
                                           StartupHost& host) {
    while (true) {
        const Settings settings = host.ReadSettings();
        // The stored folders may be Windows paths: look them up where this host keeps them.
        const std::string gameRulesPath = RulesPathIn(HostPath(settings.gameDir));
        if (!commandLinePath.empty()) {
            if (auto found = host.FindExisting(commandLinePath)) return found;
            host.ReportFailedToLoad(commandLinePath);
            // The user may correct the directories first; the named file is then forgotten, so
            // the same missing path is not reported again and the usual places are searched.
            host.RunProgramLocation();
            commandLinePath.clear();
            continue;
        }
        for (const std::string& candidate :
             {RulesPathIn(startDir), RulesPathIn(HostPath(settings.workDir)), gameRulesPath}) {
            if (auto found = host.FindExisting(candidate)) return found;
        }
        host.ReportFailedToLoad(gameRulesPath);
        if (!host.RunProgramLocation()) return std::nullopt;
    }
}

}  // namespace morvane::gamesetup
