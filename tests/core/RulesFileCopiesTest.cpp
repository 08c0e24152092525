// Backups that never replace one another, and where File > New may write.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "SystemOnly.h"
#include "TempDir.h"
#include "gamesetup/GameSetup.h"
#include "gamesetup/RulesFileCopies.h"
#include "platform/FileAccess.h"

namespace morvane::gamesetup {
namespace {

using test::TempDir;

void Write(const std::string& path, const std::string& bytes) {
    ASSERT_EQ(platform::ReplaceFileAtomically(path, bytes), 0) << path;
}

std::string Read(const std::string& path) { return platform::ReadFileBytes(path).value_or("<missing>"); }

TEST(RulesFileCopies, BackupsTakeTheFirstFreeNameAndReuseAnIdenticalOne) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> existing;  // backups already there
        const char* expected;
        bool made;
    } cases[] = {
        {"no backup yet", {}, "rules.ini.bak", true},
        {"first kept", {{"rules.ini.bak", "original"}}, "rules.ini.2.bak", true},
        {"gap filled after", {{"rules.ini.bak", "original"}, {"rules.ini.2.bak", "second"}}, "rules.ini.3.bak", true},
        {"same bytes already kept",
         {{"rules.ini.bak", "original"}, {"rules.ini.2.bak", "now"}},
         "rules.ini.2.bak",
         false},
        {"name taken in other case", {{"RULES.INI.BAK", "original"}}, "rules.ini.2.bak", true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Write(dir.File("rules.ini"), "now");
        for (const auto& [name, bytes] : c.existing) Write(dir.File(name), bytes);
        const BackupResult result = BackUpFile(dir.File("rules.ini"));
        EXPECT_EQ(result.error, 0) << c.name;
        EXPECT_EQ(result.backupPath, dir.File(c.expected)) << c.name;
        EXPECT_EQ(result.made, c.made) << c.name;
        EXPECT_EQ(Read(dir.File(c.expected)), "now") << c.name;
        for (const auto& [name, bytes] : c.existing) EXPECT_EQ(Read(dir.File(name)), bytes) << c.name << " " << name;
    }
}

TEST(RulesFileCopies, BackingUpNothingMakesNothing) {
    TempDir dir;
    const BackupResult result = BackUpFile(dir.File("rules.ini"));
    EXPECT_EQ(result.error, 0);
    EXPECT_TRUE(result.backupPath.empty());
    EXPECT_FALSE(result.made);
}

TEST(RulesFileCopies, EveryLaunchKeepsTheGamesOriginalFile) {
    TempDir dir;
    const std::string game = dir.File("rules.ini");
    Write(game, "original");
    Write(dir.File("mine.ini"), "first edit");
    ASSERT_EQ(InstallGameRules(dir.File("mine.ini"), game), 0);
    Write(dir.File("mine.ini"), "second edit");
    ASSERT_EQ(InstallGameRules(dir.File("mine.ini"), game), 0);
    Write(dir.File("mine.ini"), "third edit");
    ASSERT_EQ(InstallGameRules(dir.File("mine.ini"), game), 0);

    EXPECT_EQ(Read(game), "third edit");
    EXPECT_EQ(Read(dir.File("rules.ini.bak")), "original");
    EXPECT_EQ(Read(dir.File("rules.ini.2.bak")), "first edit");
    EXPECT_EQ(Read(dir.File("rules.ini.3.bak")), "second edit");
}

TEST(RulesFileCopies, NewProposesANameNotYetTaken) {
    TempDir dir;
    const std::string folder = dir.Path().string();
    EXPECT_EQ(ProposeNewRulesPath(folder), dir.File("rules.ini"));
    Write(dir.File("RULES.INI"), "x");
    EXPECT_EQ(ProposeNewRulesPath(folder), dir.File("rules-2.ini"));
    Write(dir.File("rules-2.ini"), "x");
    EXPECT_EQ(ProposeNewRulesPath(folder + "/"), dir.File("rules-3.ini"));
}

TEST(RulesFileCopies, NewNeverWritesOverTheOpenFile) {
    TempDir dir;
    const std::string open = dir.File("rules.ini");
    Write(open, "edited");
    // Symbolic links need a privilege on Windows: there the case is left out.
    if (!test::kWindows) std::filesystem::create_symlink(open, dir.File("link.ini"));
    std::filesystem::create_hard_link(open, dir.File("hard.ini"));
    std::filesystem::create_directory(dir.File("folder.ini"));
    Write(dir.File("other.ini"), "other");

    struct Case {
        const char* name;
        NewFileTarget target;
    };
    std::vector<Case> cases = {
        {"rules.ini", NewFileTarget::OpenFile},  {"./rules.ini", NewFileTarget::OpenFile},
        {"hard.ini", NewFileTarget::OpenFile},   {"other.ini", NewFileTarget::Existing},
        {"folder.ini", NewFileTarget::NotAFile}, {"fresh.ini", NewFileTarget::Free},
    };
    if (!test::kWindows) cases.push_back({"link.ini", NewFileTarget::OpenFile});
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyNewFileTarget(dir.File(c.name), open), c.target) << c.name;
        BackupResult backup;
        const int error = CreateRulesFile(dir.File(c.name), open, "defaults", backup);
        EXPECT_EQ(error == 0, c.target == NewFileTarget::Free || c.target == NewFileTarget::Existing) << c.name;
    }
    EXPECT_EQ(Read(open), "edited");
    EXPECT_EQ(Read(dir.File("other.ini")), "defaults");
    EXPECT_EQ(Read(dir.File("other.ini.bak")), "other");
    EXPECT_EQ(Read(dir.File("fresh.ini")), "defaults");
}

}  // namespace
}  // namespace morvane::gamesetup
