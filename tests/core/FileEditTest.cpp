#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

#include <vector>

#include "TempDir.h"
#include "platform/FileAccess.h"
#include "platform/ProfileApi.h"

namespace morvane::platform {
namespace {

class FileEdit : public testing::Test {
protected:
    void Write(const std::string& bytes) { ASSERT_EQ(ReplaceFileAtomically(m_path, bytes), 0); }
    std::string Read() const { return ReadFileBytes(m_path).value_or("<missing>"); }

    test::TempDir m_dir;
    std::string m_path = m_dir.File("rules.ini");
};

TEST_F(FileEdit, BatchWriteSetsEveryKeyInOneReplace) {
    Write("[A]\r\nCost=1\r\n[B]\r\nCost=2 ; note\r\n");
    const std::vector<ProfileWrite> writes = {
        {"A", "Cost", "10"}, {"B", "cost", "20"}, {"C", "Cost", "30"}, {"A", "Speed", "4"}, {"A", "Cost", "11"},
    };
    EXPECT_EQ(WritePrivateProfileStrings(writes, m_path), 0);
    EXPECT_EQ(Read(), "[A]\r\nCost=11\r\nSpeed=4\r\n[B]\r\ncost=20 ; note\r\n\r\n[C]\r\nCost=30\r\n");
    EXPECT_EQ(GetPrivateProfileString("B", "Cost", "", m_path), "20 ; note");
}

TEST_F(FileEdit, BatchWriteRefusesAllWhenOneIsInvalid) {
    Write("[A]\r\nCost=1\r\n");
    const std::vector<ProfileWrite> writes = {{"A", "Cost", "2"}, {"B", "Bad=Key", "3"}};
    EXPECT_EQ(WritePrivateProfileStrings(writes, m_path), kErrorInvalidParameter);
    EXPECT_EQ(Read(), "[A]\r\nCost=1\r\n");
    EXPECT_EQ(WritePrivateProfileStrings({}, m_path), 0);
    EXPECT_EQ(Read(), "[A]\r\nCost=1\r\n");
}

TEST_F(FileEdit, ReplaceIfUnchangedUndoesOnlyItsOwnWrite) {
    Write("[A]\r\nCost=1\r\n");
    ASSERT_EQ(WritePrivateProfileString("A", "Cost", "2", m_path), 0);
    EXPECT_EQ(ReplaceFileIfUnchanged(m_path, "[A]\r\nCost=2\r\n", "[A]\r\nCost=1\r\n"), 0);
    EXPECT_EQ(Read(), "[A]\r\nCost=1\r\n");

    Write("[A]\r\nCost=3\r\n");  // someone else's change since
    EXPECT_EQ(ReplaceFileIfUnchanged(m_path, "[A]\r\nCost=2\r\n", "[A]\r\nCost=1\r\n"), kErrorFileChanged);
    EXPECT_EQ(Read(), "[A]\r\nCost=3\r\n");
    EXPECT_EQ(ReplaceFileIfUnchanged(m_dir.File("gone.ini"), "", "x"), kErrorFileChanged);
    EXPECT_FALSE(FileExists(m_dir.File("gone.ini")));
}

TEST_F(FileEdit, IdentityTellsChangesApart) {
    EXPECT_FALSE(IdentifyFile(m_path));
    Write("[A]\r\nCost=1\r\n");
    const auto first = IdentifyFile(m_path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 13u);
    EXPECT_EQ(IdentifyFile(m_path), first);
    ASSERT_EQ(WritePrivateProfileString("A", "Cost", "2", m_path), 0);  // same size, new file
    EXPECT_NE(IdentifyFile(m_path), first);
    EXPECT_FALSE(IdentifyFile(m_dir.Path().string()));

    // A writer learns the identity it left, for the renamed and the in-place rewrite alike.
    FileIdentity written;
    const std::vector<ProfileWrite> writes = {{"A", "Cost", "3"}};
    ASSERT_EQ(WritePrivateProfileStrings(writes, m_path, &written), 0);
    EXPECT_EQ(IdentifyFile(m_path), written);
    std::filesystem::create_hard_link(m_path, m_dir.File("linked.ini"));
    ASSERT_EQ(ReplaceFileIfUnchanged(m_path, "[A]\r\nCost=3\r\n", "[A]\r\nCost=44\r\n", &written), 0);
    EXPECT_EQ(IdentifyFile(m_path), written);
}

TEST_F(FileEdit, EditSeesTheCurrentBytesAndMayRefuse) {
    std::optional<std::string> seen = "unset";
    const auto record = [&](const std::optional<std::string>& current, std::string& replacement) {
        seen = current;
        replacement = "new";
        return 0;
    };
    EXPECT_EQ(EditFile(m_path, record), 0);
    EXPECT_EQ(seen, std::nullopt);  // created
    EXPECT_EQ(EditFile(m_path, record), 0);
    EXPECT_EQ(seen, "new");
    EXPECT_EQ(EditFile(m_path, [](const std::optional<std::string>&, std::string&) { return 1234; }), 1234);
    EXPECT_EQ(Read(), "new");
}

}  // namespace
}  // namespace morvane::platform
