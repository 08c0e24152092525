// morvane-cli default and match-all: the window's Default and Match All on a file.
#include <gtest/gtest.h>

#include <sstream>

#include "CliRun.h"
#include "TempDir.h"
#include "cli/CliCommand.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

class CliEditTest : public testing::Test {
protected:
    CliEditTest() { EXPECT_EQ(platform::ReplaceFileAtomically(m_path, kOriginal), 0); }
    std::string FileText() const { return platform::ReadFileBytes(m_path).value_or("<no file>"); }

    static constexpr const char* kOriginal =
        "[General]\r\nIronCurtain=.75\r\nCrateMinimum=7\r\n[E1]\r\nCost=123\r\n[E2]\r\nCost=123\r\n[DOG]\r\nCost="
        "200\r\n";
    test::TempDir m_dir;
    const std::string m_path = m_dir.File("rules.ini");
};

TEST_F(CliEditTest, DefaultWritesAsTheButtonDoes) {
    const CliRun run = Cli({"default", m_path, "General\\Crates\\CrateMinimum"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Wrote CrateMinimum=2 to [General]\n");
    EXPECT_NE(FileText().find("\r\nCrateMinimum=2\r\n"), std::string::npos);

    EXPECT_EQ(Cli({"default", m_path, "General\\Crates"}).code, kExitRefused);
    EXPECT_EQ(Cli({"default", m_path, "General\\Nowhere"}).code, kExitNotFound);
}

TEST_F(CliEditTest, MatchAllPrintsThePlanAndWritesItOnce) {
    const char* path = "Units\\Infantry\\Rifle soldier\\Cost";
    const CliRun dry = Cli({"match-all", m_path, path, "--dry-run"});
    EXPECT_EQ(dry.code, kExitOk) << dry.err;
    EXPECT_EQ(FileText(), kOriginal);
    // [E2] holds the value already; [DOG] changes from 200; the others have no Cost yet.
    EXPECT_EQ(dry.out.find("E2\t"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("DOG\t200\t123\n"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("E3\t\t123\n"), std::string::npos) << dry.out;

    const CliRun run = Cli({"match-all", m_path, path});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    EXPECT_EQ(run.out, dry.out);
    EXPECT_NE(FileText().find("[DOG]\r\nCost=123\r\n"), std::string::npos);
    EXPECT_NE(FileText().find("[E3]\r\nCost=123\r\n"), std::string::npos);
    EXPECT_EQ(Cli({"match-all", m_path, path, "--dry-run"}).out, "");
}

TEST_F(CliEditTest, MatchAllRefusals) {
    const struct {
        std::vector<std::string> args;
        int code;
        const char* says;
    } cases[] = {
        {{"match-all", m_path, "General\\Special Weapons\\IronCurtain"}, kExitRefused, "[General]"},
        {{"match-all", m_path, "Units\\Infantry"}, kExitRefused, "select a key"},
        // Strength is in no infantry section of the file: it would be emptied everywhere.
        {{"match-all", m_path, "Units\\Infantry\\Rifle soldier\\Strength"}, kExitRefused, "--allow-empty"},
        {{"match-all", m_path}, kExitUsage, "usage:"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.code, c.code) << c.args.back();
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(FileText(), kOriginal) << c.args.back();
    }
    const CliRun emptied = Cli({"match-all", m_path, "Units\\Infantry\\Rifle soldier\\Strength", "--allow-empty"});
    EXPECT_EQ(emptied.code, kExitOk) << emptied.err;
    EXPECT_NE(FileText().find("[E2]\r\nCost=123\r\nStrength=\r\n"), std::string::npos);
}

}  // namespace
}  // namespace morvane::cli
