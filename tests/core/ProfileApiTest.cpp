#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "SystemOnly.h"
#include "TempDir.h"
#include "platform/FileAccess.h"
#include "platform/ProfileApi.h"

namespace morvane::platform {
namespace {

class ProfileApi : public testing::Test {
protected:
    void Write(const std::string& bytes) { ASSERT_EQ(ReplaceFileAtomically(m_path, bytes), 0); }
    std::string Read() const { return ReadFileBytes(m_path).value_or("<missing>"); }

    test::TempDir m_dir;
    std::string m_path = m_dir.File("rules.ini");
};

TEST_F(ProfileApi, MissingFileGivesDefaultAndIsCreatedByWrite) {
    EXPECT_EQ(GetPrivateProfileString("General", "A", "Empty", m_path), "Empty");
    EXPECT_EQ(WritePrivateProfileString("General", "A", "1", m_path), 0);
    EXPECT_EQ(Read(), "[General]\r\nA=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("General", "A", "Empty", m_path), "1");
}

TEST_F(ProfileApi, ReadSeesChangesMadeByOthers) {
    Write("[S]\r\nA=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("S", "A", "", m_path), "1");
    Write("[S]\r\nA=22\r\n");  // another program changes the file: new size, new inode
    EXPECT_EQ(GetPrivateProfileString("S", "A", "", m_path), "22");
    EXPECT_EQ(WritePrivateProfileString("S", "A", "3", m_path), 0);
    EXPECT_EQ(GetPrivateProfileString("S", "A", "", m_path), "3");
}

TEST_F(ProfileApi, WriteEditsWhatIsOnDiskNow) {
    Write("[S]\r\nA=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("S", "A", "", m_path), "1");
    Write("[S]\r\nA=1\r\nB=2\r\n");
    EXPECT_EQ(WritePrivateProfileString("S", "A", "5", m_path), 0);
    EXPECT_EQ(Read(), "[S]\r\nA=5\r\nB=2\r\n");
}

TEST_F(ProfileApi, RefusesTextThatWouldNotReadBack) {
    Write("[S]\r\nA=1\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"S", "A", "1\r\n[Evil]"},
        {"S", "A\n", "1"},
        {"S]", "A", "1"},
        {"", "A", "1"},
        {"S", "", "1"},
        {"S", "A=B", "1"},
        {"S", ";A", "1"},
        {"S", " [A", "1"},
        {"S\r", "A", "1"},
        {"S", "A", "1 ; a note would be cut off"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WritePrivateProfileString(c.section, c.key, c.value, m_path), kErrorInvalidParameter) << c.key;
        EXPECT_EQ(Read(), "[S]\r\nA=1\r\n");
    }
}

TEST_F(ProfileApi, KeepsPermissionsAndWritesThroughLinks) {
    MORVANE_POSIX_ONLY("mode bits, and symbolic links that need a privilege on Windows");
    Write("[S]\r\nA=1\r\n");
    ASSERT_EQ(chmod(m_path.c_str(), 0640), 0);
    const std::string link = m_dir.File("link.ini");
    std::filesystem::create_symlink("rules.ini", link);
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", link), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Read(), "[S]\r\nA=2\r\n");
    struct stat info {};
    ASSERT_EQ(stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
        EXPECT_EQ(entry.path().filename().string().rfind(".morvane", 0), std::string::npos) << "temporary file left";
}

TEST_F(ProfileApi, FailedWritesLeaveTheFileAndReportWindowsNumbers) {
    Write("[S]\r\nA=1\r\n");
    ASSERT_EQ(chmod(m_path.c_str(), 0444), 0);
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", m_path), kErrorAccessDenied);
    EXPECT_EQ(Read(), "[S]\r\nA=1\r\n");
    ASSERT_EQ(chmod(m_path.c_str(), 0644), 0);

    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", m_dir.File("no/such/folder/rules.ini")), kErrorPathNotFound);
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", m_dir.Path().string()), kErrorNotRegularFile);

    MORVANE_POSIX_ONLY("the rest needs a folder that cannot be written, which a read-only attribute does not make");
    const std::string folder = m_dir.File("locked");
    std::filesystem::create_directory(folder);
    const std::string inside = folder + "/rules.ini";
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", inside), kErrorAccessDenied);  // cannot be created
    EXPECT_FALSE(FileExists(inside));
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
}

}  // namespace
}  // namespace morvane::platform
