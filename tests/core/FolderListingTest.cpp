#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "TempDir.h"
#include "platform/FolderListing.h"

namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Folders, files and links of every kind side by side; only the folders and the links to
// folders count.
TEST(FolderListing, ListsFoldersAndLinksToFoldersOnly) {
    test::TempDir dir;
    fs::create_directory(dir.File("Data"));
    fs::create_directory(dir.File("Red Alert"));
    fs::create_directory(dir.File(".hidden"));
    std::ofstream(dir.File("rules.ini")) << "[General]\n";
    fs::create_directory_symlink("Data", dir.File("to-data"));
    fs::create_symlink("rules.ini", dir.File("to-file"));
    fs::create_symlink("nowhere", dir.File("dangling"));

    EXPECT_EQ(Sorted(ListSubFolders(dir.Path().string()).value()),
              (std::vector<std::string>{".hidden", "Data", "Red Alert", "to-data"}));
    EXPECT_TRUE(HasSubFolder(dir.Path().string()));
    // Through a link to the folder and with a trailing "/", the listing is the same.
    fs::create_directory_symlink(dir.Path(), dir.File("Data/up"));
    EXPECT_EQ(Sorted(ListSubFolders(dir.File("Data/up/")).value()),
              (std::vector<std::string>{".hidden", "Data", "Red Alert", "to-data"}));
}

TEST(FolderListing, FolderWithoutSubFoldersAndUnreadablePaths) {
    test::TempDir dir;
    fs::create_directory(dir.File("empty"));
    fs::create_directory(dir.File("files"));
    std::ofstream(dir.File("files/a.ini")) << "x";
    fs::create_symlink("a.ini", dir.File("files/link.ini"));

    for (const std::string name : {"empty", "files"}) {
        EXPECT_EQ(ListSubFolders(dir.File(name)), std::vector<std::string>{}) << name;
        EXPECT_FALSE(HasSubFolder(dir.File(name))) << name;
    }
    for (const std::string& path : {dir.File("missing"), dir.File("files/a.ini"), std::string()}) {
        EXPECT_EQ(ListSubFolders(path), std::nullopt) << path;
        EXPECT_FALSE(HasSubFolder(path)) << path;
    }
}

TEST(FolderListing, FolderWithoutReadPermission) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    test::TempDir dir;
    fs::create_directories(dir.File("locked/inside"));
    fs::permissions(dir.File("locked"), fs::perms::owner_exec);
    EXPECT_EQ(ListSubFolders(dir.File("locked")), std::nullopt);
    EXPECT_FALSE(HasSubFolder(dir.File("locked")));
    fs::permissions(dir.File("locked"), fs::perms::owner_all);
}

TEST(FolderListing, JoinPathPutsExactlyOneSlashBetween) {
    const struct {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {
        {"/home/user", "RA", "/home/user/RA"},
        {"/home/user/", "RA", "/home/user/RA"},
        {"/home/user//", "/RA", "/home/user/RA"},
        {"/", "home", "/home"},
        {"//", "home", "/home"},
        {"relative", "Red Alert", "relative/Red Alert"},
        {"", "RA", "RA"},
        {"/home", "", "/home/"},
        {"/home", "RA/", "/home/RA/"},
    };
    for (const auto& c : cases) EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
}

}  // namespace
}  // namespace morvane::platform
