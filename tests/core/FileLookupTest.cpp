#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "CurrentFolderGuard.h"
#include "SystemOnly.h"
#include "TempDir.h"
#include "platform/FileLookup.h"

namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

class FileLookup : public testing::Test {
protected:
    void SetUp() override {
        // Windows cannot hold two names that differ only in case, nor make links without a
        // privilege: there the fixture has neither.
        for (const char* name :
             {"rules.ini", "Both.ini", "BOTH.INI", "bOTH.ini", "\xc3\xa9t\xc3\xa9.ini", "Data/rules.ini"}) {
            if (test::kWindows && (std::string_view(name) == "BOTH.INI" || std::string_view(name) == "bOTH.ini"))
                continue;
            fs::create_directories(m_dir.PathOf(name).parent_path());
            std::ofstream(m_dir.PathOf(name)) << name;
        }
        fs::create_directory(m_dir.File("Mods"));
        if (!test::kWindows) {
            fs::create_symlink("rules.ini", m_dir.File("Linked.ini"));
            fs::create_symlink("nowhere.ini", m_dir.File("dangling.ini"));
        }
    }
    std::string In(const std::string& name) const { return m_dir.File(name); }

    test::TempDir m_dir;
};

TEST_F(FileLookup, FindsTheNameExactlyElseWithoutLetterCase) {
    MORVANE_POSIX_ONLY("Windows file names match without case by themselves");
    const struct {
        std::string request;
        std::optional<std::string> found;
    } cases[] = {
        {In("rules.ini"), In("rules.ini")},
        {In("RULES.INI"), In("rules.ini")},
        {In("Rules.Ini"), In("rules.ini")},
        {In("Both.ini"), In("Both.ini")},  // exact beats the other spelling
        {In("BOTH.INI"), In("BOTH.INI")},
        {In("both.ini"), In("BOTH.INI")},  // no exact match: the first in byte order of three
        {In("MODS"), In("Mods")},          // a folder counts, like in a directory search
        {In("linked.INI"), In("Linked.ini")},
        {In("DANGLING.INI"), std::nullopt},  // a link to nothing is not a file
        {In("rules.in"), std::nullopt},
        {In("rules.ini.bak"), std::nullopt},
        {In("\xc3\x89T\xc3\x89.INI"), std::nullopt},  // only ASCII letters fold
        {In("data/rules.ini"), std::nullopt},         // the folder part is taken as it is
        {In("Data/RULES.INI"), In("Data/rules.ini")},
        {In("Data//RULES.INI"), In("Data//rules.ini")},
        {In("missing/rules.ini"), std::nullopt},
        {In("missing/"), std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(FindFileNoCase(c.request), c.found) << c.request;
}

// Any spelling of an existing name is that name to Windows, folder part and non-ASCII
// letters included, so the path comes back as it was asked for.
TEST_F(FileLookup, WindowsFindsEverySpellingAsGiven) {
    MORVANE_WINDOWS_ONLY("only Windows file names match without case by themselves");
    for (const std::string& request : {In("rules.ini"), In("RULES.INI"), In("BOTH.INI"), In("MODS"),
                                       In("data/rules.ini"), In("Data//RULES.INI"), In("\xc3\x89T\xc3\x89.INI")})
        EXPECT_EQ(FindFileNoCase(request), request) << request;
    for (const std::string& request : {In("rules.in"), In("missing/rules.ini"), In("missing/"), std::string()})
        EXPECT_EQ(FindFileNoCase(request), std::nullopt) << request;
    test::CurrentFolderGuard inside(m_dir.Path());
    EXPECT_EQ(FindFileNoCase("RULES.INI"), "RULES.INI");
    EXPECT_EQ(FindRegularFileNoCase(In("RULES.INI")), In("RULES.INI"));
    EXPECT_EQ(FindRegularFileNoCase(In("mods")), std::nullopt);
    EXPECT_EQ(FindRegularFileNoCase("NUL"), std::nullopt);
}

TEST_F(FileLookup, RulesFileSearchCountsOnlyRegularFiles) {
    MORVANE_POSIX_ONLY("pipes, /dev/null and names that differ only in case");
    fs::create_directory(In("folder.ini"));
    ASSERT_TRUE(test::MakePipe(In("pipe.ini")));
    fs::create_directory(In("game"));
    fs::create_directory(In("game/rules.ini"));            // a folder with the exact name ...
    std::ofstream(In("game/RULES.INI")) << "[General]\n";  // ... does not hide the file
    EXPECT_EQ(FindRegularFileNoCase(In("FOLDER.INI")), std::nullopt);
    EXPECT_EQ(FindRegularFileNoCase(In("pipe.ini")), std::nullopt);
    EXPECT_EQ(FindRegularFileNoCase("/dev/null"), std::nullopt);
    EXPECT_EQ(FindRegularFileNoCase(In("game/rules.ini")), In("game/RULES.INI"));
    EXPECT_EQ(FindRegularFileNoCase(In("LINKED.ini")), In("Linked.ini"));
}

TEST_F(FileLookup, NameWithoutFolderIsLookedUpInTheCurrentFolder) {
    MORVANE_POSIX_ONLY("Windows file names match without case by themselves");
    test::CurrentFolderGuard inside(m_dir.Path());
    EXPECT_EQ(FindFileNoCase("RULES.INI"), "rules.ini");
    EXPECT_EQ(FindFileNoCase("./RULES.INI"), "./rules.ini");
    EXPECT_EQ(FindFileNoCase("data/rules.ini"), std::nullopt);
}

TEST_F(FileLookup, ChangesAndReportsTheCurrentFolder) {
    const fs::path before = fs::current_path();
    const fs::path canonical = fs::canonical(m_dir.Path());
    const std::string data = (canonical / "Data").string();
    const std::string root = canonical.root_path().string();  // "/" or "C:\"
    {
        test::CurrentFolderGuard restore(before);
        ASSERT_TRUE(ChangeDirectory(m_dir.File("Data/")));
        EXPECT_EQ(CurrentDirectory(), data);
        for (const std::string& path : {In("missing"), In("rules.ini"), std::string()}) {
            EXPECT_FALSE(ChangeDirectory(path)) << path;
            EXPECT_EQ(CurrentDirectory(), data) << path;
        }
        ASSERT_TRUE(ChangeDirectory(root));
        EXPECT_EQ(CurrentDirectory(), root);
    }
    EXPECT_EQ(fs::current_path(), before);
}

TEST_F(FileLookup, CreatesOneFolderLevel) {
    EXPECT_TRUE(CreateDirectory(In("New Folder")));
    EXPECT_TRUE(fs::is_directory(In("New Folder")));
    EXPECT_TRUE(CreateDirectory(In("New Folder/Inner/")));
    EXPECT_TRUE(fs::is_directory(In("New Folder/Inner")));
    std::vector<std::string> refused{In("Mods"), In("rules.ini"), In("missing/new"), std::string()};
    if (!test::kWindows) refused.push_back(In("dangling.ini"));
    for (const std::string& path : refused) EXPECT_FALSE(CreateDirectory(path)) << path;
    EXPECT_FALSE(fs::exists(In("missing")));
}

TEST_F(FileLookup, NewFolderGetsAllPermissionsTheUmaskAllows) {
    MORVANE_POSIX_ONLY("Windows has no umask; a new folder inherits its parent's permissions");
    const mode_t previous = umask(027);
    const bool created = CreateDirectory(In("masked"));
    umask(previous);
    ASSERT_TRUE(created);
    struct stat info {};
    ASSERT_EQ(stat(In("masked").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0750u);
}

}  // namespace
}  // namespace morvane::platform
