#include "gamesetup/StartupSearch.h"

#include "common/TextOps.h"

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

std::string FailedToLoadMessage(const std::string& path) { return "Failed To Load - " + path; }

std::optional<std::string> LocateRulesFile(std::string commandLinePath, const std::string& startDir,
                                           StartupHost& host) {
    while (true) {
        const Settings settings = host.ReadSettings();
        const std::string gameRulesPath = RulesPathIn(settings.gameDir);
        if (!commandLinePath.empty()) {
            if (auto found = host.FindExisting(commandLinePath)) return found;
            host.ReportFailedToLoad(commandLinePath);
            // A named file that is not there is forgotten: the usual places are searched next.
            commandLinePath.clear();
        }
        for (const std::string& candidate : {RulesPathIn(startDir), RulesPathIn(settings.workDir), gameRulesPath}) {
            if (auto found = host.FindExisting(candidate)) return found;
        }
        host.ReportFailedToLoad(gameRulesPath);
        if (!host.RunProgramLocation()) return std::nullopt;
    }
}

}  // namespace morvane::gamesetup
