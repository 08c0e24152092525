// Windows paths from the settings looked up through the Wine prefix, and the start-up search
// for a command-line file that is not there.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gamesetup/StartupSearch.h"
#include "gamesetup/WinePaths.h"

namespace morvane::gamesetup {
namespace {

TEST(WinePaths, DrivePathsMapIntoThePrefix) {
    const struct {
        const char* path;
        const char* mapped;
    } cases[] = {
        {"C:\\Westwood\\Redalert", "/home/u/.wine/dosdevices/c:/Westwood/Redalert"},
        {"d:/Games/RA/", "/home/u/.wine/dosdevices/d:/Games/RA"},
        {"C:\\", "/home/u/.wine/dosdevices/c:"},
        {"C:", "/home/u/.wine/dosdevices/c:"},
    };
    for (const auto& c : cases) EXPECT_EQ(MapThroughWinePrefix(c.path, "/home/u/.wine/"), c.mapped) << c.path;

    for (const char* path : {"C:\\x", "z:", "c:/"}) EXPECT_TRUE(IsWindowsDrivePath(path)) << path;
    for (const char* path : {"/home/u", "CC:\\x", "C", "1:\\x", "C:x", "", "rules.ini"})
        EXPECT_FALSE(IsWindowsDrivePath(path)) << path;
}

TEST(WinePaths, PrefixFromTheEnvironment) {
    EXPECT_EQ(WinePrefix(std::string("/opt/ra"), std::string("/home/u")), "/opt/ra");
    EXPECT_EQ(WinePrefix(std::string(), std::string("/home/u")), "/home/u/.wine");
    EXPECT_EQ(WinePrefix(std::nullopt, std::string("/home/u")), "/home/u/.wine");
    EXPECT_EQ(WinePrefix(std::nullopt, std::nullopt), std::nullopt);
}

#ifndef _WIN32
TEST(WinePaths, HostPathUsesWineprefix) {
    const char* saved = std::getenv("WINEPREFIX");
    const std::string keep = saved ? saved : "";
    setenv("WINEPREFIX", "/tmp/prefix", 1);
    EXPECT_EQ(HostPath("C:\\Westwood\\Redalert"), "/tmp/prefix/dosdevices/c:/Westwood/Redalert");
    EXPECT_EQ(HostPath("/srv/ra"), "/srv/ra");
    if (saved)
        setenv("WINEPREFIX", keep.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}
#endif

// Records what the search asks of its host; one file exists.
class FakeHost : public StartupHost {
public:
    Settings ReadSettings() override {
        calls.push_back("settings");
        return {"/work", "/game", "/game/RA95.exe"};
    }
    std::optional<std::string> FindExisting(const std::string& path) override {
        if (path == existing) return path;
        return std::nullopt;
    }
    void ReportFailedToLoad(const std::string& path) override { calls.push_back("report " + path); }
    bool RunProgramLocation() override {
        calls.push_back("location");
        if (!onLocation.empty()) existing = onLocation;
        return confirm;
    }
    std::vector<std::string> calls;
    std::string existing;
    std::string onLocation;
    bool confirm = false;
};

TEST(StartupSearch, MissingCommandLineFileIsReportedThenLocationThenUsualPlaces) {
    FakeHost host;
    host.existing = RulesPathIn("/work");
    EXPECT_EQ(LocateRulesFile("/nowhere/mod.ini", "/start", host), RulesPathIn("/work"));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"settings", "report /nowhere/mod.ini", "location", "settings"}));

    // The directories the user sets in Program Location count for the search that follows.
    FakeHost corrected;
    corrected.onLocation = RulesPathIn("/game");
    EXPECT_EQ(LocateRulesFile("/nowhere/mod.ini", "/start", corrected), RulesPathIn("/game"));

    // Nothing anywhere: the game path is reported next, and cancelling ends the search.
    FakeHost empty;
    EXPECT_EQ(LocateRulesFile("/nowhere/mod.ini", "/start", empty), std::nullopt);
    EXPECT_EQ(empty.calls, (std::vector<std::string>{"settings", "report /nowhere/mod.ini", "location", "settings",
                                                     "report " + RulesPathIn("/game"), "location"}));
}

}  // namespace
}  // namespace morvane::gamesetup
