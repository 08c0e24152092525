#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "SystemOnly.h"
#include "TempDir.h"
#include "cli/CliCommand.h"
#include "common/Version.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

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

    EXPECT_EQ(Cli({"set", path, "General", "CrateMinimum", "4"}).code, kExitOk);
    EXPECT_EQ(platform::ReadFileBytes(path), "; mine\r\n[General]\r\nCrateMinimum=4   ; few\r\n[E1]\r\nCost=90\r\n");

    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const CliRun denied = Cli({"set", path, "E1", "Cost", "5"});
    EXPECT_EQ(denied.code, kExitWriteFailed);
    EXPECT_EQ(denied.err, "Unable To Save Changes, Error NUmber: 5 \n[E1]Cost\n" + path +
                              " is read-only. Give it write permission (clear its read-only mark), then try again.\n");
}

}  // namespace
}  // namespace morvane::cli
