#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "CliRun.h"
#include "SystemOnly.h"
#include "TempDir.h"
#include "cli/CliCommand.h"
#include "common/Version.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

TEST(Cli, DescribeShowsEveryField) {
    const CliRun run = Cli({"describe", "20200"});
    EXPECT_EQ(run.code, kExitOk);
    EXPECT_EQ(run.out,
              "type: M\nmin: 14000\nmax: 14032\ndefault: 14006,14007\n"
              "help: List of buildings needed before this can be manufactured\nshown-default: weap,dome\n");
}

TEST(Cli, StringPrintsEntryOrFailsForFreeId) {
    EXPECT_EQ(Cli({"string", "60000"}).out, "General=\n");
    const CliRun keyList = Cli({"string", "209"});
    EXPECT_EQ(keyList.out, "FineDiffControl|10094\nMCVUndeploy|10095\n");
    const CliRun freeId = Cli({"string", "10208"});
    EXPECT_EQ(freeId.code, kExitNotFound);
    EXPECT_TRUE(freeId.out.empty());
    EXPECT_NE(freeId.err.find("10208"), std::string::npos);
}

TEST(Cli, RejectsBadUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"nosuchcommand"},
        {"--nosuchoption", "string", "1"},
        {"string"},
        {"string", "1", "2"},
        {"string", "abc"},
        {"describe", "70000"},
        {"new"},
    };
    for (const auto& args : cases) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.code, kExitUsage) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(run.err.empty());
    }
}

TEST(Cli, HelpOnEveryLevel) {
    EXPECT_NE(Cli({"--help"}).out.find("describe ID"), std::string::npos);
    for (const char* command : {"string", "describe", "new"}) {
        const CliRun run = Cli({command, "--help"});
        EXPECT_EQ(run.code, kExitOk) << command;
        EXPECT_EQ(run.out.rfind(std::string("usage: morvane-cli ") + command, 0), 0u) << command;
    }
}

TEST(Cli, VersionIsTheProjectVersion) {
    const CliRun run = Cli({"--version"});
    EXPECT_EQ(run.code, kExitOk);
    EXPECT_EQ(run.out, "morvane-cli " + std::string(kVersion) + "\n");
    EXPECT_FALSE(kVersion.empty());
}

TEST(Cli, ReplacementCatalogue) {
    test::TempDir dir;
    const std::string good = dir.File("good.txt");
    std::ofstream(good) << "# mine\n500\tI0|9|3;~501\n501\tMyKey =My own key\n";
    const CliRun run = Cli({"--catalogue", good, "describe", "500"});
    EXPECT_EQ(run.code, kExitOk);
    EXPECT_NE(run.out.find("help: My own key\n"), std::string::npos);
    EXPECT_EQ(Cli({"--catalogue", good, "string", "101"}).code, kExitNotFound);

    const std::string bad = dir.File("bad.txt");
    std::ofstream(bad) << "500\tok\n\n501 no tab\n";
    const CliRun broken = Cli({"--catalogue", bad, "string", "500"});
    EXPECT_EQ(broken.code, kExitUsage);
    EXPECT_NE(broken.err.find(bad + ":3:"), std::string::npos) << broken.err;

    const CliRun missing = Cli({"--catalogue", dir.File("none.txt"), "string", "500"});
    EXPECT_EQ(missing.code, kExitUsage);
    EXPECT_NE(missing.err.find("cannot be read"), std::string::npos);
}

TEST(Cli, NewRefusesToReplaceWithoutForce) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(Cli({"new", path}).code, kExitOk);
    const auto first = platform::ReadFileBytes(path);
    ASSERT_TRUE(first);
    EXPECT_NE(first->find("[General]\r\nCrateMinimum=2\r\n"), std::string::npos);

    ASSERT_EQ(platform::ReplaceFileAtomically(path, "mine"), 0);
    const CliRun refused = Cli({"new", path});
    EXPECT_EQ(refused.code, kExitNotFound);
    EXPECT_EQ(platform::ReadFileBytes(path), "mine");
    EXPECT_EQ(Cli({"new", "--force", path}).code, kExitOk);
    EXPECT_EQ(platform::ReadFileBytes(path), first);

    const CliRun noFolder = Cli({"new", dir.File("missing/rules.ini")});
    EXPECT_EQ(noFolder.code, kExitWriteFailed);
    EXPECT_NE(noFolder.err.find("error 3"), std::string::npos);
}

TEST(Cli, DevicesAndPipesAreRefusedNotReplacedOrWaitedOn) {
    test::TempDir dir;
    // Windows has no pipes in its file tree; its devices have names such as NUL.
    const std::string device = test::kWindows ? "NUL" : "/dev/null";
    const std::string pipe = test::kWindows ? "\\\\.\\NUL" : dir.File("rules.fifo");
    if (!test::kWindows) {
        ASSERT_TRUE(test::MakePipe(pipe));
    }
    for (const std::string& path : {device, pipe}) {
        const CliRun set = Cli({"set", path, "E1", "Cost", "1"});
        EXPECT_EQ(set.code, kExitWriteFailed) << path;
        // What it is, where the system says: "/dev/null is a device, not a file."
        EXPECT_NE(set.err.find(path + " is "), std::string::npos) << set.err;
        EXPECT_NE(set.err.find("not a"), std::string::npos) << set.err;
    }
    if (!test::kWindows) {
        struct stat info {};
        ASSERT_EQ(stat("/dev/null", &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
    const CliRun catalogue = Cli({"--catalogue", pipe, "string", "200"});
    EXPECT_NE(catalogue.code, kExitOk);
    EXPECT_NE(catalogue.err.find("not a"), std::string::npos) << catalogue.err;
}

TEST(Cli, TreeGetAndSetOnAFile) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(
        platform::ReplaceFileAtomically(path, "; mine\r\n[General]\r\nCrateMinimum=1   ; few\r\n[E1]\r\nCost=90\r\n"),
        0);

    const CliRun tree = Cli({"tree", path});
    EXPECT_EQ(tree.code, kExitOk);
    EXPECT_EQ(tree.out.rfind("General\t60000 9901 39 39\n  Crates\t0 9900 0 0\n", 0), 0u);
    EXPECT_NE(tree.out.find("\n    CrateMinimum = 1\t0 10000 3 4\n"), std::string::npos);
    EXPECT_NE(tree.out.find("\n      Cost = 90\t8109 "), std::string::npos);
    EXPECT_NE(tree.out.find("\n    CrateRegen\t0 10003 3 4\n"), std::string::npos);

    const CliRun missingFile = Cli({"tree", dir.File("none.ini")});
    EXPECT_EQ(missingFile.code, kExitOk);
    EXPECT_NE(missingFile.out.find("\n    CrateMinimum\t0 10000 3 4\n"), std::string::npos);
    EXPECT_FALSE(platform::FileExists(dir.File("none.ini")));

    EXPECT_EQ(Cli({"get", path, "general", "crateminimum"}).out, "1\n");
    EXPECT_EQ(Cli({"get", path, "General", "CrateRegen"}).code, kExitNotFound);
    // "Empty" is a value like any other.
    const std::string empty = dir.File("empty.ini");
    ASSERT_EQ(platform::ReplaceFileAtomically(empty, "[General]\r\nCrateMinimum=Empty\r\n"), 0);
    const CliRun emptyValue = Cli({"get", empty, "General", "CrateMinimum"});
    EXPECT_EQ(emptyValue.code, kExitOk);
    EXPECT_EQ(emptyValue.out, "Empty\n");

    EXPECT_EQ(Cli({"set", path, "General", "CrateMinimum", "4"}).code, kExitOk);
    EXPECT_EQ(platform::ReadFileBytes(path), "; mine\r\n[General]\r\nCrateMinimum=4   ; few\r\n[E1]\r\nCost=90\r\n");

    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const CliRun denied = Cli({"set", path, "E1", "Cost", "5"});
    EXPECT_EQ(denied.code, kExitWriteFailed);
    EXPECT_EQ(denied.err, "Unable To Save Changes, Error NUmber: 5 \n[E1]Cost\n" + path +
                              " is read-only. Give it write permission (clear its read-only mark), then try again.\n");
}

// `set` writes where the game reads: its spelling, the right section, a whole last line, every
// copy; it refuses what the game would read otherwise, saying why.
TEST(CliSet, WritesWhereTheGameReads) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    const auto setIn = [&path](const std::string& before, std::vector<std::string> args) {
        EXPECT_EQ(platform::ReplaceFileAtomically(path, before), 0);
        args.insert(args.begin(), path);
        args.insert(args.begin(), "set");
        const CliRun run = Cli(args);
        return std::make_pair(run, platform::ReadFileBytes(path).value_or("<none>"));
    };
    const struct {
        const char* what;
        std::string before;
        std::vector<std::string> args;
        std::string after;
    } cases[] = {
        {"game's spelling", "[E1]\r\nCost=100\r\n", {"e1", "cost", "150"}, "[E1]\r\nCost=150\r\n"},
        {"added in the game's spelling",
         "[E1]\r\nSpeed=4\r\n",
         {"e1", "cost", "150"},
         "[E1]\r\nSpeed=4\r\nCost=150\r\n"},
        {"section header in the wrong case fixed",
         "[e1]\r\ncost=100\r\n",
         {"E1", "Cost", "150"},
         "[E1]\r\nCost=150\r\n"},
        {"last line gains its break", "[E1]\r\nCost=100", {"E1", "Speed", "4"}, "[E1]\r\nCost=100\r\nSpeed=4\r\n"},
        {"every copy",
         "[E1]\r\nCost=1\r\n[E1]\r\nCost=2\r\n",
         {"E1", "Cost", "3"},
         "[E1]\r\nCost=3\r\n[E1]\r\nCost=3\r\n"},
        // Names the game does not know are written as given, the header too, as for a key.
        {"unknown names as given", "[Mine]\r\nfoo=1\r\n", {"mine", "FOO", "2"}, "[mine]\r\nFOO=2\r\n"},
        {"forced long line",
         "[E1]\r\n",
         {"--force", "E1", "Image", std::string(130, 'x')},
         "[E1]\r\nImage=" + std::string(130, 'x') + "\r\n"},
    };
    for (const auto& c : cases) {
        const auto [run, after] = setIn(c.before, c.args);
        EXPECT_EQ(run.code, kExitOk) << c.what << ": " << run.err;
        EXPECT_EQ(after, c.after) << c.what;
    }

    const auto [tooLong, unchanged] = setIn("[E1]\r\nImage=E1\r\n", {"E1", "Image", std::string(130, 'x')});
    EXPECT_EQ(tooLong.code, kExitWriteFailed);
    EXPECT_NE(tooLong.err.find("[E1] Image: the line would have 136 characters"), std::string::npos) << tooLong.err;
    EXPECT_NE(tooLong.err.find("lose the last 9"), std::string::npos) << tooLong.err;
    EXPECT_NE(tooLong.err.find("--force"), std::string::npos) << tooLong.err;
    EXPECT_EQ(unchanged, "[E1]\r\nImage=E1\r\n");

    const auto [note, kept] = setIn("[E1]\r\nCost=1\r\n", {"E1", "Cost", "5;cheap"});
    EXPECT_EQ(note.code, kExitWriteFailed);
    EXPECT_NE(note.err.find("would read '5' only"), std::string::npos) << note.err;
    // The window's fixed line comes first, as for every failed write.
    EXPECT_EQ(note.err.rfind("Unable To Save Changes, Error NUmber: 87 \n[E1]Cost\n", 0), 0u) << note.err;
    EXPECT_EQ(kept, "[E1]\r\nCost=1\r\n");
}

}  // namespace
}  // namespace morvane::cli
