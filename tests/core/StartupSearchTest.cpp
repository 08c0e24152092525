// The start-up search for the rules file, against a host that records what it was asked.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "gamesetup/StartupSearch.h"

namespace morvane::gamesetup {
namespace {

// The path with "/" for the system's separator, so that the cases read the same everywhere.
std::string Slashed(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

// Paths in `existing` are found; every lookup, report and Program Location run is logged (with
// "/" separators).
// Each Program Location run takes the next settings of `corrections` (false when none is left).
class RecordingHost : public StartupHost {
public:
    Settings ReadSettings() override { return settings; }
    std::optional<std::string> FindExisting(const std::string& path) override {
        log.push_back("find " + Slashed(path));
        if (existing.count(Slashed(path)) != 0) return Slashed(path);
        return std::nullopt;
    }
    void ReportFailedToLoad(const std::string& path) override { log.push_back("report " + Slashed(path)); }
    bool RunProgramLocation() override {
        log.push_back("program location");
        if (corrections.empty()) return false;
        settings = corrections.front();
        corrections.pop_front();
        return true;
    }

    Settings settings{"/work", "/game", "/game/ra95.exe"};
    std::set<std::string> existing;
    std::deque<Settings> corrections;
    std::vector<std::string> log;
};

TEST(StartupSearch, LooksInTheCommandLineStartWorkAndGameFolderInThatOrder) {
    const struct {
        const char* name;
        std::set<std::string> existing;
        const char* found;
        std::vector<std::string> lookups;
    } cases[] = {
        {"command line first",
         {"/cmd/my.ini", "/start/rules.ini", "/work/rules.ini"},
         "/cmd/my.ini",
         {"find /cmd/my.ini"}},
        {"start folder before work folder",
         {"/start/rules.ini", "/work/rules.ini", "/game/rules.ini"},
         "/start/rules.ini",
         {"find /cmd/my.ini", "report /cmd/my.ini", "program location", "find /start/rules.ini"}},
        {"work folder before game folder",
         {"/work/rules.ini", "/game/rules.ini"},
         "/work/rules.ini",
         {"find /cmd/my.ini", "report /cmd/my.ini", "program location", "find /start/rules.ini",
          "find /work/rules.ini"}},
        {"game folder last",
         {"/game/rules.ini"},
         "/game/rules.ini",
         {"find /cmd/my.ini", "report /cmd/my.ini", "program location", "find /start/rules.ini", "find /work/rules.ini",
          "find /game/rules.ini"}},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        host.existing = c.existing;
        EXPECT_EQ(LocateRulesFile("/cmd/my.ini", "/start", host), std::optional<std::string>(c.found)) << c.name;
        EXPECT_EQ(host.log, c.lookups) << c.name;
    }
}

TEST(StartupSearch, WithoutACommandLinePathTheSearchStartsInTheStartFolder) {
    RecordingHost host;
    host.existing = {"/work/rules.ini"};
    EXPECT_EQ(LocateRulesFile("", "/start", host), "/work/rules.ini");
    EXPECT_EQ(host.log, (std::vector<std::string>{"find /start/rules.ini", "find /work/rules.ini"}));
}

// The missing command-line path is reported and Program Location runs, once; the path is then
// forgotten. Nothing found: the game folder's file is reported and Program Location runs again;
// the search repeats with the corrected settings until a file turns up.
TEST(StartupSearch, RepeatsWithCorrectedSettingsAndForgetsTheMissingPath) {
    RecordingHost host;
    host.existing = {"/other/rules.ini"};
    host.corrections = {{"/work", "/still-wrong", "x.exe"}, {"/work", "/other", "x.exe"}};
    EXPECT_EQ(LocateRulesFile("/cmd/gone.ini", "/start", host), "/other/rules.ini");
    const std::vector<std::string> expected = {
        "find /cmd/gone.ini",
        "report /cmd/gone.ini",
        "program location",
        "find /start/rules.ini",
        "find /work/rules.ini",
        "find /still-wrong/rules.ini",
        "report /still-wrong/rules.ini",
        "program location",
        "find /start/rules.ini",
        "find /work/rules.ini",
        "find /other/rules.ini",
    };
    EXPECT_EQ(host.log, expected);
}

TEST(StartupSearch, CancellingProgramLocationGivesUp) {
    RecordingHost host;
    EXPECT_EQ(LocateRulesFile("", "/start", host), std::nullopt);
    EXPECT_EQ(host.log.back(), "program location");
    EXPECT_EQ(host.log[host.log.size() - 2], "report /game/rules.ini");

    // Cancelling after a missing command-line path still searches the usual places.
    RecordingHost named;
    named.existing = {"/work/rules.ini"};
    EXPECT_EQ(LocateRulesFile("/cmd/gone.ini", "/start", named), "/work/rules.ini");
}

TEST(StartupSearch, JoinCommandLineJoinsWithSingleBlanksAndTrims) {
    const struct {
        std::vector<std::string> args;
        const char* joined;
    } cases[] = {
        {{}, ""},
        {{"rules.ini"}, "rules.ini"},
        {{"/home/me/My", "Mod/rules.ini"}, "/home/me/My Mod/rules.ini"},  // an unquoted path with a blank
        {{"a", "b", "c"}, "a b c"},
        {{"  padded.ini  "}, "padded.ini"},
        {{"a", "", "b"}, "a  b"},  // an empty argument still adds its blank
    };
    for (const auto& c : cases) EXPECT_EQ(JoinCommandLine(c.args), c.joined) << testing::PrintToString(c.args);
}

}  // namespace
}  // namespace morvane::gamesetup
