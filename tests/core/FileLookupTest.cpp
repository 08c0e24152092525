#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "CurrentFolderGuard.h"
#include "TempDir.h"
#include "platform/FileLookup.h"

namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

class FileLookup : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"rules.ini", "Both.ini", "BOTH.INI", "\xc3\xa9t\xc3\xa9.ini", "Data/rules.ini"}) {
            fs::create_directories(fs::path(m_dir.File(name)).parent_path());
            std::ofstream(m_dir.File(name)) << name;
        }
        fs::create_directory(m_dir.File("Mods"));
        fs::create_symlink("rules.ini", m_dir.File("Linked.ini"));
        fs::create_symlink("nowhere.ini", m_dir.File("dangling.ini"));
    }
    std::string In(const std::string& name) const { return m_dir.File(name); }

    test::TempDir m_dir;
};

TEST_F(FileLookup, FindsTheNameExactlyElseWithoutLetterCase) {
    const struct {
        std::string request;
        std::optional<std::string> found;
    } cases[] = {
        {In("rules.ini"), In("rules.ini")},
        {In("RULES.INI"), In("rules.ini")},
        {In("Rules.Ini"), In("rules.ini")},
        {In("Both.ini"), In("Both.ini")},  // exact beats the other spelling
        {In("BOTH.INI"), In("BOTH.INI")},
        {In("MODS"), In("Mods")},  // a folder counts, like in a directory search
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

TEST_F(FileLookup, RulesFileSearchCountsOnlyRegularFiles) {
    fs::create_directory(In("folder.ini"));
    ASSERT_EQ(mkfifo(In("pipe.ini").c_str(), 0600), 0);
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
    test::CurrentFolderGuard inside(m_dir.Path());
    EXPECT_EQ(FindFileNoCase("RULES.INI"), "rules.ini");
    EXPECT_EQ(FindFileNoCase("./RULES.INI"), "./rules.ini");
    EXPECT_EQ(FindFileNoCase("data/rules.ini"), std::nullopt);
}

TEST_F(FileLookup, ChangesAndReportsTheCurrentFolder) {
    const fs::path before = fs::current_path();
    const std::string canonical = fs::canonical(m_dir.Path()).string();
    {
        test::CurrentFolderGuard restore(before);
        ASSERT_TRUE(ChangeDirectory(m_dir.File("Data/")));
        EXPECT_EQ(CurrentDirectory(), canonical + "/Data");
        for (const std::string& path : {In("missing"), In("rules.ini"), std::string()}) {
            EXPECT_FALSE(ChangeDirectory(path)) << path;
            EXPECT_EQ(CurrentDirectory(), canonical + "/Data") << path;
        }
        ASSERT_TRUE(ChangeDirectory("/"));
        EXPECT_EQ(CurrentDirectory(), "/");
    }
    EXPECT_EQ(fs::current_path(), before);
}

TEST_F(FileLookup, CreatesOneFolderLevel) {
    EXPECT_TRUE(CreateDirectory(In("New Folder")));
    EXPECT_TRUE(fs::is_directory(In("New Folder")));
    EXPECT_TRUE(CreateDirectory(In("New Folder/Inner/")));
    EXPECT_TRUE(fs::is_directory(In("New Folder/Inner")));
    for (const std::string& path : {In("Mods"), In("rules.ini"), In("dangling.ini"), In("missing/new"), std::string()})
        EXPECT_FALSE(CreateDirectory(path)) << path;
    EXPECT_FALSE(fs::exists(In("missing")));
}

TEST_F(FileLookup, NewFolderGetsAllPermissionsTheUmaskAllows) {
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
