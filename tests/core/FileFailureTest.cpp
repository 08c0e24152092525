// Failures of the write path: each is found whatever name the file is reached by, and each is
// said in words. The failing disk is played by the file-fault hook.
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "RecordingMessageSink.h"
#include "SystemOnly.h"
#include "TempDir.h"
#include "platform/FileAccess.h"
#include "platform/FileFaults.h"
#include "platform/ProfileApi.h"
#include "rulesfile/RulesFileAccess.h"
#include "rulesfile/SaveFailureMessage.h"

namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Points the state folder at a folder of the test's own, and clears the fault hook after.
class FileFailures : public testing::Test {
protected:
    FileFailures() { test::SetEnvironment("XDG_STATE_HOME", m_state.Path().string()); }
    ~FileFailures() override {
        ClearFileFaults();
        test::SetEnvironment("XDG_STATE_HOME", m_savedState);
    }
    void Write(const std::string& path, const std::string& bytes) { ASSERT_EQ(ReplaceFileAtomically(path, bytes), 0); }
    std::string Read(const std::string& path) const { return ReadFileBytes(path).value_or("<unreadable>"); }

    // The message the window and the command line show for a failed write of [S]A.
    std::string Message(int error, const std::string& path) { return SaveFailureMessage(error, "S", "A", path); }

    test::TempDir m_dir;
    test::TempDir m_state;
    std::optional<std::string> m_savedState = test::Environment("XDG_STATE_HOME");
};

// A write through one name is cut short (here: it finished but left its copy, and then the file
// was cut, which is what a crash in the middle leaves); every other name of the file must see it.
TEST_F(FileFailures, CutWriteIsFoundThroughEveryNameOfTheFile) {
    MORVANE_POSIX_ONLY("symbolic links to folders and folders without write permission");
#ifndef _WIN32
    struct Case {
        const char* name;
        std::function<std::pair<std::string, std::string>(const test::TempDir&)> names;  // written, other
    };
    const std::vector<Case> cases = {
        {"another hard link",
         [](const test::TempDir& dir) {
             std::ofstream(dir.PathOf("a.ini"), std::ios::binary) << "[S]\r\nA=1\r\nB=long old line\r\n";
             fs::create_hard_link(dir.PathOf("a.ini"), dir.PathOf("b.ini"));
             return std::pair{dir.File("a.ini"), dir.File("b.ini")};
         }},
        {"a folder reached through a symbolic link",
         [](const test::TempDir& dir) {
             fs::create_directory(dir.PathOf("game"));
             std::ofstream(dir.PathOf("game/a.ini"), std::ios::binary) << "[S]\r\nA=1\r\nB=long old line\r\n";
             fs::create_directory_symlink("game", dir.PathOf("link"));
             chmod(dir.File("game").c_str(), 0555);  // rewritten in place, the copy in the state folder
             return std::pair{dir.File("game/a.ini"), dir.File("link/a.ini")};
         }},
        {"a relative path", [](const test::TempDir& dir) {
             fs::create_directory(dir.PathOf("game"));
             std::ofstream(dir.PathOf("game/a.ini"), std::ios::binary) << "[S]\r\nA=1\r\nB=long old line\r\n";
             chmod(dir.File("game").c_str(), 0555);
             const fs::path relative = fs::relative(dir.PathOf("game/a.ini"));
             return std::pair{dir.File("game/a.ini"), relative.string()};
         }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::TempDir dir;
        const auto [written, other] = c.names(dir);
        InjectFileFault(FileFault::DropCopy, EIO);
        ASSERT_EQ(WritePrivateProfileString("S", "A", "2", written), 0);
        ClearFileFaults();
        fs::resize_file(fs::path(written), 9);  // "[S]\r\nA=2\r" and nothing more: cut

        EXPECT_EQ(WritePrivateProfileString("S", "A", "3", other), kErrorInterruptedWrite);
        EXPECT_EQ(Read(written), "[S]\r\nA=2\r");
        const auto copy = InterruptedWriteCopy(other);
        ASSERT_TRUE(copy);
        EXPECT_EQ(Read(*copy), "[S]\r\nA=1\r\nB=long old line\r\n");
        EXPECT_TRUE(Contains(Message(kErrorInterruptedWrite, other), *copy));
        EXPECT_EQ(InterruptedWriteCopy(written), copy);
        chmod(dir.File("game").c_str(), 0755);
    }
#endif
}

// A write killed after it finished but before it removed its copy left a whole file: the next
// write, through any name, carries on.
TEST_F(FileFailures, FinishedInPlaceWriteIsNotTakenForAnInterruptedOne) {
    MORVANE_POSIX_ONLY("the fault hook plays a kill on POSIX systems");
    const std::string path = m_dir.File("rules.ini");
    Write(path, "[S]\r\nA=1\r\n");
    fs::create_hard_link(m_dir.PathOf("rules.ini"), m_dir.PathOf("other.ini"));
    InjectFileFault(FileFault::DropCopy, EIO);
    ASSERT_EQ(WritePrivateProfileString("S", "A", "2", path), 0);
    ClearFileFaults();
    ASSERT_TRUE(fs::exists(m_dir.PathOf(".rules.ini.morvane-old")));  // the old contents, as a kill leaves them

    EXPECT_FALSE(InterruptedWriteCopy(m_dir.File("other.ini")));
    EXPECT_EQ(WritePrivateProfileString("S", "A", "3", m_dir.File("other.ini")), 0);
    EXPECT_EQ(Read(path), "[S]\r\nA=3\r\n");
    EXPECT_FALSE(fs::exists(m_dir.PathOf(".rules.ini.morvane-old")));
    EXPECT_TRUE(fs::is_empty(m_state.Path() / "morvane" / "pending"));
}

TEST_F(FileFailures, InPlaceWriteWhoseRestoreFailsSaysTheFileIsIncomplete) {
    MORVANE_POSIX_ONLY("the fault hook plays a failing disk on POSIX systems");
    const std::string path = m_dir.File("rules.ini");
    Write(path, "[S]\r\nA=1\r\n");
    fs::create_hard_link(m_dir.PathOf("rules.ini"), m_dir.PathOf("other.ini"));
    InjectFileFault(FileFault::InPlaceWrite, EIO, 0, 2);  // the write and the restore
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", path), kErrorWriteFault);
    const std::string message = Message(kErrorWriteFault, path);
    const std::string copy = m_dir.File(".rules.ini.morvane-old");
    EXPECT_EQ(Read(copy), "[S]\r\nA=1\r\n");
    EXPECT_TRUE(Contains(message, "is now incomplete")) << message;
    EXPECT_TRUE(Contains(message, copy)) << message;
}

// Failures the disk reports, one at a time: each leaves the file as it was and says why.
TEST_F(FileFailures, DiskErrorsAreSaidInWordsAndLeaveTheFile) {
    MORVANE_POSIX_ONLY("the fault hook plays a failing disk on POSIX systems");
    struct Case {
        const char* name;
        FileFault fault;
        int errorCode;
        int error;
        const char* words;
    };
    const std::vector<Case> cases = {
        {"disk full in place", FileFault::InPlaceWrite, ENOSPC, kErrorDiskFull, "is full. Make room on it"},
        {"input/output error in place", FileFault::InPlaceWrite, EIO, kErrorWriteFault, "input/output error"},
        {"status of the locked file", FileFault::LockStatus, EIO, kErrorWriteFault, "input/output error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::TempDir dir;
        const std::string path = dir.File("rules.ini");
        Write(path, "[S]\r\nA=1\r\n");
        fs::create_hard_link(dir.PathOf("rules.ini"), dir.PathOf("other.ini"));
        InjectFileFault(c.fault, c.errorCode);
        EXPECT_EQ(WritePrivateProfileString("S", "A", "2", path), c.error);
        ClearFileFaults();
        const std::string message = Message(c.error, path);
        EXPECT_EQ(message.rfind("Unable To Save Changes, Error NUmber: " + std::to_string(c.error) + " \n[S]A\n", 0),
                  0u)
            << message;
        EXPECT_TRUE(Contains(message, c.words)) << message;
        EXPECT_FALSE(Contains(message, "not a regular file")) << message;
        EXPECT_EQ(Read(path), "[S]\r\nA=1\r\n");
        EXPECT_FALSE(fs::exists(dir.PathOf(".rules.ini.morvane-old")));
    }
}

// An error on closing after the new bytes were flushed is a warning: the write stands.
TEST_F(FileFailures, ErrorOnClosingAFlushedFileIsAWarning) {
    MORVANE_POSIX_ONLY("the fault hook plays a failing disk on POSIX systems");
    const std::string path = m_dir.File("rules.ini");
    Write(path, "[S]\r\nA=1\r\n");
    fs::create_hard_link(m_dir.PathOf("rules.ini"), m_dir.PathOf("other.ini"));
    test::RecordingMessageSink messages;
    RulesFileAccess rules(messages);
    rules.SetRulesPath(path);
    InjectFileFault(FileFault::InPlaceClose, EIO);
    EXPECT_EQ(rules.WriteValue("S", "A", "2"), 0);
    ClearFileFaults();
    EXPECT_EQ(Read(path), "[S]\r\nA=2\r\n");
    EXPECT_FALSE(fs::exists(m_dir.PathOf(".rules.ini.morvane-old")));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(Contains(messages.messages[0].text, "was written and flushed")) << messages.messages[0].text;
    EXPECT_FALSE(Contains(messages.messages[0].text, "Unable To Save"));
}

TEST_F(FileFailures, RefusedWritesKeepTheNumberLineAndSayWhy) {
    const std::string path = m_dir.File("rules.ini");
    Write(path, "[S]\r\nA=1\r\n");
    test::RecordingMessageSink messages;
    RulesFileAccess rules(messages);
    rules.SetRulesPath(path);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        const char* words;
    };
    const std::vector<Case> cases = {
        {"S", "A", "5 ; five", "a value cannot hold \";\": the game takes everything from it on for a note"},
        {"S", "A=B", "5", "a key cannot be empty, start with \";\" or \"[\", or hold \"=\""},
        {" ", "A", "5", "a section name cannot be empty"},
        {"S]", "A", "5", "a section name cannot be empty or hold \"]\""},
        {"S", "A", "5\n6", "a value cannot hold a line break"},
    };
    for (const Case& c : cases) {
        messages.messages.clear();
        EXPECT_EQ(rules.WriteValue(c.section, c.key, c.value), kErrorInvalidParameter) << c.words;
        ASSERT_EQ(messages.messages.size(), 1u);
        const std::string& message = messages.messages[0].text;
        EXPECT_EQ(message.rfind("Unable To Save Changes, Error NUmber: 87 \n[", 0), 0u) << message;
        EXPECT_TRUE(Contains(message, c.words)) << message;
    }
    EXPECT_EQ(Read(path), "[S]\r\nA=1\r\n");
}

TEST_F(FileFailures, PathErrorsAreSaidInWords) {
    const std::string path = m_dir.File("rules.ini");
    Write(path, "[S]\r\nA=1\r\n");
    struct Case {
        const char* name;
        std::string target;
        int error;
        const char* words;
    };
    std::vector<Case> cases = {
        {"missing folder", m_dir.File("none/rules.ini"), kErrorPathNotFound, "does not exist"},
        {"path too long", m_dir.File(std::string(300, 'x') + "/rules.ini"), kErrorPathNotFound, "too long"},
        {"a file as a folder", m_dir.File("rules.ini/rules.ini"), kErrorPathNotFound, "should be a folder is a file"},
    };
    if (!test::kWindows) {
        fs::create_symlink("loop-b.ini", m_dir.PathOf("loop-a.ini"));
        fs::create_symlink("loop-a.ini", m_dir.PathOf("loop-b.ini"));
        cases.push_back({"loop of links", m_dir.File("loop-a.ini"), kErrorPathNotFound, "loop of symbolic links"});
    }
    for (const Case& c : cases) {
        EXPECT_EQ(WritePrivateProfileString("S", "A", "2", c.target), c.error) << c.name;
        const std::string message = Message(c.error, c.target);
        EXPECT_TRUE(Contains(message, c.words)) << c.name << ": " << message;
    }
}

TEST_F(FileFailures, ReadOnlyFileSaysSo) {
    const std::string path = m_dir.File("rules.ini");
    Write(path, "[S]\r\nA=1\r\n");
    fs::permissions(m_dir.PathOf("rules.ini"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", path), kErrorAccessDenied);
    EXPECT_TRUE(Contains(Message(kErrorAccessDenied, path), "is read-only. Give it write permission"));
    fs::permissions(m_dir.PathOf("rules.ini"), fs::perms::owner_all);
}

TEST_F(FileFailures, NoHomeForTheCopySaysSo) {
    MORVANE_POSIX_ONLY("folders without write permission and the HOME variable");
#ifndef _WIN32
    const std::string folder = m_dir.File("game");
    fs::create_directory(folder);
    const std::string path = folder + "/rules.ini";
    Write(path, "[S]\r\nA=1\r\n");
    chmod(folder.c_str(), 0555);
    const auto home = test::Environment("HOME");
    test::SetEnvironment("HOME", std::nullopt);
    test::SetEnvironment("XDG_STATE_HOME", std::nullopt);
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", path), kErrorAccessDenied);
    EXPECT_TRUE(Contains(Message(kErrorAccessDenied, path), "no home folder")) << Message(kErrorAccessDenied, path);
    test::SetEnvironment("HOME", home);
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(Read(path), "[S]\r\nA=1\r\n");
#endif
}

TEST_F(FileFailures, WriteThatWouldPassTheSizeLimitIsRefused) {
    const std::string path = m_dir.File("rules.ini");
    Write(path, "[S]\r\nA=1\r\n");
    const std::string huge(kMaxFileBytes, 'x');
    EXPECT_EQ(WritePrivateProfileString("S", "A", huge, path), kErrorFileTooLarge);
    EXPECT_TRUE(Contains(Message(kErrorFileTooLarge, path), "would make " + path + " larger than 16 MiB"));
    EXPECT_EQ(Read(path), "[S]\r\nA=1\r\n");
}

TEST_F(FileFailures, FolderNamedLikeTheTemporaryIsSteppedRound) {
    const std::string path = m_dir.File("rules.ini");
    Write(path, "[S]\r\nA=1\r\n");
    fs::create_directory(m_dir.PathOf(".rules.ini.morvane-tmp"));
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", path), 0);
    EXPECT_EQ(Read(path), "[S]\r\nA=2\r\n");
    fs::create_hard_link(m_dir.PathOf("rules.ini"), m_dir.PathOf("other.ini"));  // the copy's temporary too
    EXPECT_EQ(WritePrivateProfileString("S", "A", "3", path), 0);
    EXPECT_EQ(Read(path), "[S]\r\nA=3\r\n");
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(m_dir.Path())) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"rules.ini", "other.ini", ".rules.ini.morvane-tmp"}));

    // With every name taken the write says what is in the way.
    for (int number = 1; number < 10; ++number)
        fs::create_directory(m_dir.PathOf(".rules.ini.morvane-tmp" + std::to_string(number)));
    fs::remove(m_dir.PathOf("other.ini"));
    EXPECT_EQ(WritePrivateProfileString("S", "A", "4", path), kErrorAccessDenied);
    const std::string message = Message(kErrorAccessDenied, path);
    EXPECT_TRUE(Contains(message, "A folder named " + m_dir.File(".rules.ini.morvane-tmp") + " is in the way"))
        << message;
}

}  // namespace
}  // namespace morvane::platform
