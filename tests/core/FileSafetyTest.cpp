#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <acl/libacl.h>
#include <signal.h>
#include <sys/acl.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

#include "SystemOnly.h"
#include "TempDir.h"
#include "platform/FileAccess.h"
#include "platform/FileLock.h"
#include "platform/ProfileApi.h"

namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
struct stat StatOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info;
}
#endif

// Names in the folder other than the ones given.
std::vector<std::string> OthersIn(const fs::path& folder, const std::set<std::string>& known) {
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(folder))
        if (!known.count(entry.path().filename().string())) others.push_back(entry.path().filename().string());
    return others;
}

class FileSafety : public testing::Test {
protected:
    void Write(const std::string& bytes) { ASSERT_EQ(ReplaceFileAtomically(m_path, bytes), 0); }
    std::string Read() const { return ReadFileBytes(m_path).value_or("<missing>"); }

    test::TempDir m_dir;
    std::string m_path = m_dir.File("rules.ini");
};

TEST_F(FileSafety, TwoWriterProcessesLoseNoKey) {
    MORVANE_POSIX_ONLY("two processes made with fork");
#ifndef _WIN32
    Write("[General]\r\nCrateMinimum=1\r\n");
    constexpr int kKeys = 60;
    std::vector<pid_t> writers;
    for (const char* section : {"E1", "E2"}) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < kKeys; ++i)
                failures +=
                    WritePrivateProfileString(section, "Key" + std::to_string(i), std::to_string(i), m_path) != 0;
            _exit(failures);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer reported failures";
    }
    for (const char* section : {"E1", "E2"})
        for (int i = 0; i < kKeys; ++i)
            EXPECT_EQ(GetPrivateProfileString(section, "Key" + std::to_string(i), "lost", m_path), std::to_string(i))
                << section << " Key" << i;
    EXPECT_EQ(OthersIn(m_dir.Path(), {"rules.ini"}), std::vector<std::string>{});
#endif
}

TEST_F(FileSafety, OnlyRegularFilesAreReadOrWritten) {
    MORVANE_POSIX_ONLY("pipes, /dev/null and symbolic links (FileAccessSystem has the Windows devices)");
#ifndef _WIN32
    const std::string pipe = m_dir.File("pipe.ini");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string folder = m_dir.File("folder.ini");
    fs::create_directory(folder);
    const std::string link = m_dir.File("to-pipe.ini");
    fs::create_symlink("pipe.ini", link);
    for (const std::string& path : {std::string("/dev/null"), std::string("/dev/zero"), pipe, folder, link}) {
        // A pipe without a writer, read or written, would block for ever: these return at once.
        EXPECT_EQ(ReadRegularFile(path).error, kErrorNotRegularFile) << path;
        EXPECT_EQ(GetPrivateProfileString("E1", "Cost", "none", path), "none") << path;
        EXPECT_EQ(WritePrivateProfileString("E1", "Cost", "1", path), kErrorNotRegularFile) << path;
        EXPECT_EQ(ReplaceFileAtomically(path, "x"), kErrorNotRegularFile) << path;
        EXPECT_FALSE(IdentifyFile(path)) << path;
        EXPECT_NE(DescribeFileError(kErrorNotRegularFile, path).find(path), std::string::npos);
    }
    EXPECT_TRUE(S_ISCHR(StatOf("/dev/null").st_mode));
    EXPECT_TRUE(S_ISFIFO(StatOf(pipe).st_mode));
#endif
}

TEST_F(FileSafety, FilesAboveTheLimitAreRefused) {
    Write("[S]\r\nA=1\r\n");
    fs::resize_file(m_dir.PathOf("rules.ini"), kMaxFileBytes + 1);  // sparse where it can be
    EXPECT_EQ(ReadRegularFile(m_path).error, kErrorFileTooLarge);
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", m_path), kErrorFileTooLarge);
    EXPECT_EQ(fs::file_size(m_dir.PathOf("rules.ini")), kMaxFileBytes + 1);
    fs::resize_file(m_dir.PathOf("rules.ini"), kMaxFileBytes);
    EXPECT_EQ(ReadRegularFile(m_path).error, 0);
}

TEST_F(FileSafety, KeepsModeOwnerAclAndExtendedAttributes) {
    MORVANE_POSIX_ONLY("mode bits, owners, POSIX ACLs and extended attributes");
#ifndef _WIN32
    Write("[S]\r\nA=1\r\n");
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(m_path.c_str(), 1234, 5678), 0);
    }
    ASSERT_EQ(chmod(m_path.c_str(), root ? 06754 : 0754), 0);

    acl_t acl = acl_from_text("u::rwx,u:4321:r--,g::r-x,g:8765:rw-,m::rwx,o::r--");
    ASSERT_NE(acl, nullptr);
    const bool aclSet = acl_set_file(m_path.c_str(), ACL_TYPE_ACCESS, acl) == 0;
    acl_free(acl);
    ASSERT_EQ(chmod(m_path.c_str(), root ? 06754 : 0754), 0);  // the mask becomes r-x again
    const bool xattrSet = setxattr(m_path.c_str(), "user.morvane.origin", "mod kit", 7, 0) == 0;
    const auto aclText = [&] {
        acl_t read = acl_get_file(m_path.c_str(), ACL_TYPE_ACCESS);
        char* text = acl_to_any_text(read, nullptr, ',', 0);
        std::string result = text;
        acl_free(text);
        acl_free(read);
        return result;
    };
    const std::string aclBefore = aclSet ? aclText() : "";

    ASSERT_EQ(WritePrivateProfileString("S", "A", "2", m_path), 0);
    EXPECT_EQ(Read(), "[S]\r\nA=2\r\n");
    const struct stat after = StatOf(m_path);
    EXPECT_EQ(after.st_mode & 07777, root ? 06754u : 0754u);
    if (root) {
        EXPECT_EQ(after.st_uid, 1234u);
        EXPECT_EQ(after.st_gid, 5678u);
    }
    if (aclSet) {
        EXPECT_EQ(aclText(), aclBefore);
    }
    if (xattrSet) {
        char value[16] = {};
        EXPECT_EQ(getxattr(m_path.c_str(), "user.morvane.origin", value, sizeof value), 7);
        EXPECT_STREQ(value, "mod kit");
    }
    EXPECT_EQ(OthersIn(m_dir.Path(), {"rules.ini"}), std::vector<std::string>{});
    if (!root) GTEST_SKIP() << "owner, group, setuid and setgid need root to set up; the mode bits were checked";
    if (!aclSet) GTEST_SKIP() << "this file system has no ACLs; mode and owner were checked";
    if (!xattrSet) GTEST_SKIP() << "this file system has no user extended attributes; the rest was checked";
#endif
}

TEST_F(FileSafety, HardLinkedFileKeepsItsLink) {
    Write("[S]\r\nA=1\r\n");
    const std::string other = m_dir.File("backup-name.ini");
    fs::create_hard_link(m_dir.PathOf("rules.ini"), m_dir.PathOf("backup-name.ini"));
    const auto before = IdentifyFile(m_path);
    ASSERT_TRUE(before);
    ASSERT_EQ(WritePrivateProfileString("S", "A", "22", m_path), 0);
    EXPECT_EQ(ReadFileBytes(other), "[S]\r\nA=22\r\n");
    EXPECT_EQ(IdentifyFile(m_path).value_or(FileIdentity{}).inode, before->inode);
    EXPECT_EQ(IdentifyFile(other).value_or(FileIdentity{}).inode, before->inode);  // still one file
    ASSERT_EQ(WritePrivateProfileString("S", "A", "3", m_path), 0);                // shorter: the tail is cut
    EXPECT_EQ(ReadFileBytes(other), "[S]\r\nA=3\r\n");
    EXPECT_EQ(OthersIn(m_dir.Path(), {"rules.ini", "backup-name.ini"}), std::vector<std::string>{});
}

TEST_F(FileSafety, UnwritableFolderWithWritableFileAllowsTheEdit) {
    MORVANE_POSIX_ONLY("a folder that cannot be written and the XDG state folder");
#ifndef _WIN32
    const test::TempDir state;
    const char* before = std::getenv("XDG_STATE_HOME");
    const std::string saved = before ? before : "";
    setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
    const std::string folder = m_dir.File("game");
    fs::create_directory(folder);
    const std::string path = folder + "/rules.ini";
    ASSERT_EQ(ReplaceFileAtomically(path, "[S]\r\nA=1\r\n"), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);

    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", path), 0);
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nA=2\r\n");
    EXPECT_EQ(OthersIn(folder, {"rules.ini"}), std::vector<std::string>{});
    EXPECT_EQ(OthersIn(state.Path() / "morvane", {"pending"}), std::vector<std::string>{});     // the copy is gone
    EXPECT_EQ(OthersIn(state.Path() / "morvane" / "pending", {}), std::vector<std::string>{});  // its record too
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    if (before)
        setenv("XDG_STATE_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_STATE_HOME");
#endif
}

TEST_F(FileSafety, CopyFromAnInterruptedRewriteIsKeptUntilTheUserLooks) {
    Write("[S]\r\nA=1\r\n");
    fs::create_hard_link(m_dir.PathOf("rules.ini"), m_dir.PathOf("other.ini"));  // rewritten in place
    const std::string copy = m_dir.File(".rules.ini.morvane-old");

    // The rewrite had not begun: the copy holds what the file holds and is cleared.
    std::ofstream(copy, std::ios::binary) << "[S]\r\nA=1\r\n";
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", m_path), 0);
    EXPECT_FALSE(fs::exists(copy));

    // It was cut short: the copy may be the only whole version, so nothing is written.
    std::ofstream(copy, std::ios::binary) << "[S]\r\nA=2\r\nB=old\r\n";
    EXPECT_EQ(WritePrivateProfileString("S", "A", "3", m_path), kErrorInterruptedWrite);
    EXPECT_EQ(Read(), "[S]\r\nA=2\r\n");
    EXPECT_EQ(ReadFileBytes(copy), "[S]\r\nA=2\r\nB=old\r\n");
    EXPECT_NE(DescribeFileError(kErrorInterruptedWrite, m_path).find(copy), std::string::npos);
}

TEST_F(FileSafety, ChangeDuringTheEditIsRedoneOnTheNewContents) {
    Write("[S]\r\nA=1\r\n");
    int calls = 0;
    const int error = EditFile(m_path, [&](const std::optional<std::string>& current, std::string& replacement) {
        if (++calls == 1) std::ofstream(m_path, std::ios::binary | std::ios::app) << "B=other\r\n";  // no lock
        replacement = *current + "C=mine\r\n";
        return 0;
    });
    EXPECT_EQ(error, 0);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(Read(), "[S]\r\nA=1\r\nB=other\r\nC=mine\r\n");
}

TEST_F(FileSafety, WriterThatCannotGetTheLockFailsAndSaysWhy) {
    Write("[S]\r\nA=1\r\n");
    const auto limit = LockWaitLimit();
    SetLockWaitLimit(std::chrono::milliseconds(150));
    {
        FileLock held;
        ASSERT_EQ(held.Lock(m_path), 0);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(WritePrivateProfileString("S", "A", "2", m_path), kErrorLockViolation);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
        EXPECT_EQ(Read(), "[S]\r\nA=1\r\n");
        EXPECT_NE(DescribeFileError(kErrorLockViolation, m_path).find("locked"), std::string::npos);

        // A file not there yet is guarded by its folder's lock.
        FileLock folder;
        const std::string fresh = m_dir.File("new.ini");
        ASSERT_EQ(folder.Lock(fresh), 0);
        EXPECT_TRUE(folder.LocksFolder());
        EXPECT_EQ(WritePrivateProfileString("S", "A", "2", fresh), kErrorLockViolation);
        EXPECT_FALSE(fs::exists(fresh));
    }
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", m_path), 0);
    SetLockWaitLimit(limit);
}

TEST_F(FileSafety, SecondWriterWaitsForTheFirst) {
    MORVANE_POSIX_ONLY("a lock holder made with fork");
#ifndef _WIN32
    Write("[S]\r\nA=1\r\n");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        FileLock lock;
        const int error = lock.Lock(m_path);
        (void)!write(ready[1], &error, sizeof error);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        _exit(0);
    }
    int error = -1;
    ASSERT_EQ(read(ready[0], &error, sizeof error), static_cast<ssize_t>(sizeof error));
    ASSERT_EQ(error, 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", m_path), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(Read(), "[S]\r\nA=2\r\n");
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
#endif
}

TEST_F(FileSafety, LongestFileNameStillGetsItsTemporary) {
    const std::string path = m_dir.File(std::string(251, 'r') + ".ini");
    ASSERT_EQ(ReplaceFileAtomically(path, "[S]\r\nA=1\r\n"), 0);
    EXPECT_EQ(WritePrivateProfileString("S", "A", "2", path), 0);
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nA=2\r\n");
    EXPECT_EQ(OthersIn(m_dir.Path(), {std::string(251, 'r') + ".ini"}), std::vector<std::string>{});
}

// A writer killed at a random moment leaves the old or the new file whole, and at most one
// temporary, readable by no one the file itself is not readable by.
TEST_F(FileSafety, KillDuringWritesLeavesAWholeFile) {
    MORVANE_POSIX_ONLY("writers made with fork and killed");
#ifndef _WIN32
    std::string first = "[S]\r\n";
    std::string second = "[S]\r\n";
    for (int i = 0; i < 20000; ++i) {
        first += "Key" + std::to_string(i) + "=first\r\n";
        second += "Key" + std::to_string(i) + "=second value\r\n";
    }
    for (const bool inPlace : {false, true}) {
        const test::TempDir dir;
        const std::string path = dir.File("rules.ini");
        ASSERT_EQ(ReplaceFileAtomically(path, first), 0);
        ASSERT_EQ(chmod(path.c_str(), 0644), 0);
        std::set<std::string> known = {"rules.ini"};
        if (inPlace) {
            ASSERT_EQ(link(path.c_str(), dir.File("other.ini").c_str()), 0);
            known.insert("other.ini");
        }
        for (int round = 0; round < 12; ++round) {
            const pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                for (int turn = 0;; ++turn) ReplaceFileAtomically(path, turn % 2 ? first : second);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * round));
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);

            const std::vector<std::string> left = OthersIn(dir.Path(), known);
            ASSERT_LE(left.size(), 1u) << (inPlace ? "in place" : "renamed");
            for (const std::string& name : left) EXPECT_EQ(StatOf(dir.File(name)).st_mode & 0777 & ~0644u, 0u) << name;
            const auto bytes = ReadFileBytes(path);
            // Only an in-place rewrite can be cut, and then the whole old version is kept.
            if (bytes != first && bytes != second) {
                ASSERT_EQ(left, std::vector<std::string>{".rules.ini.morvane-old"}) << "a cut file without its copy";
            }
            if (left == std::vector<std::string>{".rules.ini.morvane-old"}) {
                const std::string copy = dir.File(left.front());
                EXPECT_TRUE(ReadFileBytes(copy) == first || ReadFileBytes(copy) == second);
                const int error = ReplaceFileAtomically(path, first);
                EXPECT_TRUE(error == 0 || error == kErrorInterruptedWrite) << error;
                fs::remove(copy);  // as the user does after looking
            }
            // The next write clears what the killed one left.
            ASSERT_EQ(ReplaceFileAtomically(path, first), 0);
            EXPECT_EQ(OthersIn(dir.Path(), known), std::vector<std::string>{});
        }
    }
#endif
}

}  // namespace
}  // namespace morvane::platform
