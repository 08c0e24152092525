#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#endif

#include "SystemOnly.h"
#include "TempDir.h"
#include "platform/FileAccess.h"

// How the file functions meet the system's own naming: paths beyond ASCII, and on Windows
// other spellings of one name, device names and file attributes.
namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

TEST(FileAccessSystem, PathsBeyondAsciiAreReadAndWritten) {
    test::TempDir dir;
    fs::create_directory(dir.PathOf("R\xc3\xa8gles \xc3\xa9t\xc3\xa9"));
    const std::string path =
        dir.File("R\xc3\xa8gles \xc3\xa9t\xc3\xa9/\xd0\xbf\xd1\x80\xd0\xb0\xd0\xb2\xd0\xb8\xd0\xbb\xd0\xb0.ini");
    ASSERT_EQ(ReplaceFileAtomically(path, "[General]\r\nName=Caf\xe9\r\n"), 0);
    EXPECT_EQ(ReadFileBytes(path), "[General]\r\nName=Caf\xe9\r\n");
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(IdentifyFile(path).has_value());
    EXPECT_TRUE(fs::exists(
        dir.PathOf("R\xc3\xa8gles \xc3\xa9t\xc3\xa9/\xd0\xbf\xd1\x80\xd0\xb0\xd0\xb2\xd0\xb8\xd0\xbb\xd0\xb0.ini")))
        << "the name was not kept as UTF-8 text";
}

TEST(FileAccessSystem, WindowsSpellingsNameOneFile) {
    MORVANE_WINDOWS_ONLY("only Windows names match without case and take both slashes");
    test::TempDir dir;
    const std::string path = dir.File("Rules.ini");
    ASSERT_EQ(ReplaceFileAtomically(path, "[S]\r\n"), 0);
    EXPECT_TRUE(IsSameFile(path, dir.File("RULES.INI")));
    EXPECT_TRUE(IsSameFile(path, dir.Path().string() + "/./rules.ini"));
    EXPECT_EQ(IdentifyFile(path), IdentifyFile(dir.File("rules.INI")));
    // A write through another spelling changes the one file and keeps its name.
    ASSERT_EQ(ReplaceFileAtomically(dir.File("RULES.INI"), "[T]\r\n"), 0);
    EXPECT_EQ(ReadFileBytes(path), "[T]\r\n");
    EXPECT_EQ(fs::directory_iterator(dir.Path())->path().filename().string(), "Rules.ini");
}

TEST(FileAccessSystem, WindowsDevicesAreNoFiles) {
    MORVANE_WINDOWS_ONLY("Windows device names");
    for (const std::string device : {"NUL", "CON", "\\\\.\\NUL"}) {
        EXPECT_EQ(ReadFileBytes(device), std::nullopt) << device;
        EXPECT_EQ(IdentifyFile(device), std::nullopt) << device;
    }
}

TEST(FileAccessSystem, WindowsReplaceKeepsTheFileAttributes) {
    MORVANE_WINDOWS_ONLY("Windows file attributes");
#ifdef _WIN32
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(ReplaceFileAtomically(path, "[S]\r\nA=1\r\n"), 0);
    const std::wstring wide = dir.PathOf("rules.ini").wstring();
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_NE(SetFileAttributesW(wide.c_str(), kKept), 0);
    ASSERT_EQ(ReplaceFileAtomically(path, "[S]\r\nA=2\r\n"), 0);
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nA=2\r\n");
    EXPECT_EQ(GetFileAttributesW(wide.c_str()) & kKept, kKept);

    // The read-only attribute makes the file read-only, whoever asks.
    ASSERT_NE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY), 0);
    EXPECT_EQ(ReplaceFileAtomically(path, "[S]\r\nA=3\r\n"), kErrorAccessDenied);
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nA=2\r\n");
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string(), "rules.ini") << "temporary file left";
#endif
}

}  // namespace
}  // namespace morvane::platform
