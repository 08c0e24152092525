#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "SystemOnly.h"
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
    MORVANE_POSIX_ONLY("symbolic links need a privilege on Windows");
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

TEST(FolderListing, ListsFoldersNotFiles) {
    test::TempDir dir;
    for (const char* name : {"Data", "Red Alert", ".hidden"}) fs::create_directory(dir.File(name));
    fs::create_directory(dir.Path() / fs::path(u8"Ünïcode"));  // the name as UTF-8 on every system
    std::ofstream(dir.File("rules.ini")) << "[General]\n";
    EXPECT_EQ(Sorted(ListSubFolders(dir.Path().string()).value()),
              (std::vector<std::string>{".hidden", "Data", "Red Alert", "Ünïcode"}));
    EXPECT_EQ(ListSubFolders(dir.File("Ünïcode")), std::vector<std::string>{});
    EXPECT_TRUE(HasSubFolder(dir.Path().string()));
}

TEST(FolderListing, FolderWithoutSubFoldersAndUnreadablePaths) {
    test::TempDir dir;
    fs::create_directory(dir.File("empty"));
    fs::create_directory(dir.File("files"));
    std::ofstream(dir.File("files/a.ini")) << "x";
#ifndef _WIN32
    fs::create_symlink("a.ini", dir.File("files/link.ini"));
#endif

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
    MORVANE_POSIX_ONLY("permission bits do not keep a folder from being listed on Windows");
    if (test::RunsAsRoot()) GTEST_SKIP() << "root reads every folder";
    test::TempDir dir;
    fs::create_directories(dir.File("locked/inside"));
    fs::permissions(dir.File("locked"), fs::perms::owner_exec);
    EXPECT_EQ(ListSubFolders(dir.File("locked")), std::nullopt);
    EXPECT_FALSE(HasSubFolder(dir.File("locked")));
    fs::permissions(dir.File("locked"), fs::perms::owner_all);
}

TEST(FolderListing, JoinPathPutsExactlyOneSlashBetween) {
    MORVANE_POSIX_ONLY("Windows joins with a backslash");
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

TEST(FolderListing, JoinPathPutsExactlyOneBackslashBetween) {
    MORVANE_WINDOWS_ONLY("only Windows takes a backslash as a separator");
    const struct {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {
        {"C:\\Games", "RA", "C:\\Games\\RA"},
        {"C:\\Games\\", "RA", "C:\\Games\\RA"},
        {"C:\\", "Games", "C:\\Games"},
        {"C:/Games/", "\\RA", "C:/Games\\RA"},
        {"relative", "Red Alert", "relative\\Red Alert"},
        {"", "RA", "RA"},
        {"C:\\Games", "", "C:\\Games\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
}

}  // namespace
}  // namespace morvane::platform
