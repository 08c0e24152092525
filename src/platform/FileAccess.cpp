#include "platform/FileAccess.h"
#include "measuring/UnlockedEdit.h"

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#include <stdio.h>
#include <sys/ioctl.h>
#endif

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "FileAccessParts.h"
#include "PathParts.h"
#include "PosixErrors.h"
#include "platform/FileLock.h"

namespace morvane::platform {
namespace {

// Returned when a renamed copy could not carry the file's attributes: it is rewritten in place.
constexpr int kCannotKeepAttributes = -2;
// Follows symbolic links to the path that holds the bytes (which need not exist yet).
std::optional<std::string> ResolveLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t length = readlink(path.c_str(), target.data(), PATH_MAX);
        if (length < 0) return std::nullopt;
        std::string next(target.data(), static_cast<std::size_t>(length));
        if (!next.empty() && next.front() == '/')
            path = std::move(next);
        else
            path = FolderOf(path).append("/").append(next);
    }
    return std::nullopt;  // a loop of links
}

// Write permission as the game's platform sees it: a file or folder without any write bit is
// read-only even for a user (such as root) whom the system would let write it.
bool Writable(const std::string& path, const struct stat& info) {
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return access(path.c_str(), W_OK) == 0;
}

bool Immutable([[maybe_unused]] int fd) {
#if defined(__linux__) && defined(FS_IOC_GETFLAGS)
    int flags = 0;
    return ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
#else
    return false;
#endif
}

// 0 when the open file `fd` at `path` may be written, else the error with why not.
int WriteRefusal(const std::string& path, int fd, const struct stat& info) {
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return RecordFailure(kErrorAccessDenied, FileProblem::ReadOnlyFile);
    if (access(path.c_str(), W_OK) == 0) return 0;
    const int error = errno;
    if (fd >= 0 && Immutable(fd)) return RecordFailure(kErrorAccessDenied, FileProblem::Immutable);
    return Failed(error);
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

FileIdentity IdentityOf(const struct stat& info) {
#if defined(__APPLE__)
    const auto& modified = info.st_mtimespec;
#else
    const auto& modified = info.st_mtim;
#endif
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::uint64_t>(info.st_size),
                        static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec};
}

// Reads the bytes of `fd` from its start into `bytes`.
int ReadBytes(int fd, std::string& bytes, std::size_t expected) {
    bytes.clear();
    bytes.reserve(expected);
    char buffer[65536];
    off_t offset = 0;
    while (true) {
        const ssize_t got = pread(fd, buffer, sizeof buffer, offset);
        if (got < 0) {
            if (errno == EINTR) continue;
            return Failed(errno);
        }
        if (got == 0) return 0;
        offset += got;
        bytes.append(buffer, static_cast<std::size_t>(got));
        // A file that grows while it is read (or lies about its size) stops at the limit too.
        if (bytes.size() > kMaxFileBytes) return RecordFailure(kErrorFileTooLarge, FileProblem::TooLarge);
    }
}

// Reads a whole regular file from the start of `fd`; `info` gets what it was at the start. A
// file whose size or time changed during the read gives kChangedDuringRead.
int ReadAll(int fd, std::string& bytes, struct stat& info) {
    CountFileRead();
    bytes.clear();
    if (fstat(fd, &info) != 0) return Failed(errno);
    if (!S_ISREG(info.st_mode)) return NotRegular(info.st_mode);
    if (static_cast<std::uint64_t>(info.st_size) > kMaxFileBytes)
        return RecordFailure(kErrorFileTooLarge, FileProblem::TooLarge);
    if (const int error = ReadBytes(fd, bytes, static_cast<std::size_t>(info.st_size))) return error;
    struct stat after {};
    if (fstat(fd, &after) != 0) return Failed(errno);
    if (IdentityOf(after) != IdentityOf(info) || bytes.size() != static_cast<std::uint64_t>(info.st_size))
        return kChangedDuringRead;
    return 0;
}

bool LooksCutShort(int fd, const struct stat& info);

// ReadAll for a write, which in addition never starts from a file that looks cut short.
int ReadForEdit(int fd, std::string& bytes, struct stat& info) {
    const int result = ReadAll(fd, bytes, info);
    return result == 0 && LooksCutShort(fd, info) ? kChangedDuringRead : result;
}

// Whether the open file still holds exactly `bytes` and the identity it was read with: the
// last look before a replace, for programs that write without a lock.
// The file is compared a block at a time: a large file is not held twice for it.
bool StillHolds(int fd, const FileIdentity& read, const std::string& bytes) {
    struct stat now {};
    if (fstat(fd, &now) != 0 || IdentityOf(now) != read) return false;
    char buffer[65536];
    std::size_t offset = 0;
    while (true) {
        const ssize_t got = pread(fd, buffer, sizeof buffer, static_cast<off_t>(offset));
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return offset == bytes.size();
        const auto count = static_cast<std::size_t>(got);
        if (count > bytes.size() - offset || std::memcmp(buffer, bytes.data() + offset, count) != 0) return false;
        offset += count;
    }
}

// An empty file modified a moment ago may be one that a program such as cp has just truncated
// and is about to fill: it is watched for a short while, and the edit made again if it
// changes. A file that stays empty is edited as it is.
constexpr auto kFreshlyEmptied = std::chrono::milliseconds(250);

bool LooksCutShort(int fd, const struct stat& info) {
    if (info.st_size != 0) return false;
    const auto modified =
        std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::nanoseconds(IdentityOf(info).modifiedNanoseconds)));
    const auto watchUntil = modified + kFreshlyEmptied;
    while (std::chrono::system_clock::now() < watchUntil) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        struct stat now {};
        if (fstat(fd, &now) != 0 || IdentityOf(now) != IdentityOf(info)) return true;
    }
    return false;
}

// Whether the path still names the file as it was read (or still nothing, for a new file).
bool Unchanged(const std::string& path, const std::optional<FileIdentity>& read) {
    struct stat now {};
    if (stat(path.c_str(), &now) != 0) return !read && errno == ENOENT;
    return read && S_ISREG(now.st_mode) && IdentityOf(now) == *read;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // makes a rename or an unlink itself durable
    close(fd);
}

// Creates `path` afresh, readable by its owner only, holding `bytes` (flushed to disk when
// `flush` says so). A leftover of an interrupted write of the same name is removed first (the
// caller holds the lock).
int CreatePrivateFile(const std::string& path, std::string_view bytes, int& fd, bool flush = true) {
    if (unlink(path.c_str()) != 0 && errno != ENOENT) return Failed(errno);
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return Failed(errno);
    if (!WriteAll(fd, bytes) || (flush && fsync(fd) != 0)) {
        const int error = Failed(errno);
        close(fd);
        fd = -1;
        unlink(path.c_str());
        return error;
    }
    return 0;
}

// The first of the names `base`, `base`1 … that a write may use for a file of its own: free, or
// a file an interrupted write left. A folder (or anything else) of that name is stepped round.
int FreeHelperPath(const std::string& base, std::string& path) {
    return PickHelperPath(
        base, path,
        [](const std::string& name, bool& blocked) {
            struct stat info {};
            if (lstat(name.c_str(), &info) != 0) return errno == ENOENT ? 0 : Failed(errno);
            blocked = !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode);
            return 0;
        },
        base);
}

// Sets the mode; a file system that cannot change modes (FAT through FUSE) is fine when the
// mode is already the wanted one.
bool SetMode(int fd, mode_t mode) {
    fchmod(fd, mode);
    struct stat info {};
    return fstat(fd, &info) == 0 && (info.st_mode & 07777) == mode;
}

// Gives the new file `to` everything of `from` the mode bits do not carry, then the mode.
bool CarryAttributes(const std::string& fromPath, int from, const struct stat& info, const std::string& toPath,
                     int to) {
    // The owner first: the kernel clears setuid and setgid when the owner changes.
    if (fchown(to, info.st_uid, info.st_gid) != 0) fchown(to, static_cast<uid_t>(-1), info.st_gid);
    struct stat made {};
    if (fstat(to, &made) != 0 || made.st_uid != info.st_uid || made.st_gid != info.st_gid) return false;
    // Extended attributes other than the ACLs, which perm_copy_fd carries together with the mode.
    if (attr_copy_fd(fromPath.c_str(), from, toPath.c_str(), to, nullptr, nullptr) != 0) return false;
    if (acl_extended_fd(from) == 1 && perm_copy_fd(fromPath.c_str(), from, toPath.c_str(), to, nullptr) != 0)
        return false;
    return SetMode(to, info.st_mode & 07777);
}

// The start of the names of the files a write keeps beside `name`: hidden, and short enough that
// the longest suffix (".morvane-tmp" and a digit) still fits a file name's 255 bytes.
std::string HelperNameOf(const std::string& name) {
    constexpr std::size_t kRoom = 255 - 1 - std::string_view(".morvane-tmp9").size();
    if (name.size() <= kRoom) return "." + name;
    return "." + name.substr(0, kRoom - 17) + "." + HashText(name);
}

std::string TemporaryPathOf(const std::string& target) {
    return FolderOf(target) + "/" + HelperNameOf(NameOf(target)) + ".morvane-tmp";
}

// Where this user's copies of files in unwritable folders go; nothing when there is no home.
std::optional<std::string> StateFolder() {
    std::string base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        base = state;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        base = std::string(home) + "/.local/state";
    } else {
        return std::nullopt;
    }
    return base + "/morvane";
}

bool MakeFolders(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    const std::string parent = FolderOf(folder);
    if (parent != folder && !MakeFolders(parent)) return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// The copy of the old contents kept while a file is rewritten in place, and its temporary.
struct InPlaceCopy {
    std::string path;
    std::string temporary;
};

std::string IdentityText(const struct stat& info) {
    return IdentityName(static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino));
}

std::optional<InPlaceCopy> InPlaceCopyOf(const std::string& target, const struct stat& info, bool folderWritable) {
    if (folderWritable) {
        const std::string base = FolderOf(target) + "/" + HelperNameOf(NameOf(target));
        return InPlaceCopy{base + ".morvane-old", base + ".morvane-tmp"};
    }
    const auto state = StateFolder();
    if (!state) return std::nullopt;
    // Named after the file's identity: two folders' rules.ini must not share a copy, and every
    // name of one file finds the same one.
    const std::string base = *state + "/" + HelperNameOf(NameOf(target) + "." + IdentityText(info));
    return InPlaceCopy{base + ".morvane-old", base + ".morvane-tmp"};
}

// Where the record of an in-place rewrite of the file with this identity is kept.
std::optional<std::string> RecordPathOf(const struct stat& info) {
    const auto state = StateFolder();
    if (!state) return std::nullopt;
    return *state + "/pending/" + IdentityText(info) + ".morvane-pending";
}

std::optional<PendingRecord> ReadRecord(const std::optional<std::string>& recordPath) {
    if (!recordPath) return std::nullopt;
    const auto text = ReadRegularFile(*recordPath).bytes;
    return text ? ParseRecord(*text) : std::nullopt;
}

// The copies an earlier in-place rewrite of this file may have left: the one its record names
// (found through any name of the file) and the one named beside this name.
std::vector<std::string> LeftCopyPaths(const std::string& target, const struct stat& info,
                                       const std::optional<PendingRecord>& record) {
    std::vector<std::string> paths;
    if (record) paths.push_back(record->copy);
    for (const bool beside : {true, false}) {
        const auto copy = InPlaceCopyOf(target, info, beside);
        if (copy && (paths.empty() || paths.front() != copy->path)) paths.push_back(copy->path);
    }
    return paths;
}

// Looks at what an earlier in-place rewrite of the file left. A copy of a write that had not
// begun or had finished is removed; one of a write that was cut short stops this write with
// kErrorInterruptedWrite. `clear` false only looks: the copy that stops a write, or "".
int CheckLeftCopies(const std::string& target, const struct stat& info, const std::string& current, bool clear,
                    std::string* interrupted = nullptr) {
    const auto recordPath = RecordPathOf(info);
    const auto record = ReadRecord(recordPath);
    for (const std::string& copy : LeftCopyPaths(target, info, record)) {
        struct stat copyInfo {};
        if (lstat(copy.c_str(), &copyInfo) != 0) continue;
        const auto bytes = ReadRegularFile(copy).bytes;
        const bool recorded = record && record->copy == copy;
        if (!bytes || JudgeLeftCopy(*bytes, recorded ? record : std::nullopt, current) == LeftCopy::Interrupted) {
            if (interrupted != nullptr) *interrupted = copy;
            return RecordFailure(kErrorInterruptedWrite, FileProblem::None, copy);
        }
        if (clear && unlink(copy.c_str()) != 0) return Failed(errno);
    }
    if (clear && recordPath) unlink(recordPath->c_str());
    return 0;
}

// Creates `path` with `bytes` in one step: written and flushed under a temporary name first.
int WriteDurably(const std::string& path, std::string_view bytes) {
    std::string temporary;
    if (const int error = FreeHelperPath(path + ".morvane-tmp", temporary)) return error;
    int fd = -1;
    if (const int error = CreatePrivateFile(temporary, bytes, fd)) return error;
    close(fd);
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = Failed(errno);
        unlink(temporary.c_str());
        return error;
    }
    SyncFolder(FolderOf(path));
    return 0;
}

// Swaps the names of two files in one step; false (errno set) where the system cannot.
bool ExchangeNames([[maybe_unused]] const std::string& first, [[maybe_unused]] const std::string& second) {
#if defined(__linux__) && defined(RENAME_EXCHANGE)
    return renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0;
#else
    errno = ENOSYS;
    return false;
#endif
}

bool SameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Puts the new file `temporary` (of inode `made`) in the place of the file read through
// `readFd`. The new file is swapped in where the system can swap two names; what came out must
// then be the file read, unchanged since, or the swap is undone and the edit made again.
int PutInPlace(const std::string& temporary, const std::string& target, int readFd, const FileIdentity& read,
               const std::string& current, const struct stat& made) {
    if (!StillHolds(readFd, read, current) || !Unchanged(target, read)) return kStartAgain;
    if (!ExchangeNames(temporary, target)) {
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP) return Failed(errno);
        // No swap here (an older kernel, some network file systems): a plain rename.
        if (rename(temporary.c_str(), target.c_str()) != 0) return Failed(errno);
        return 0;
    }
    struct stat out {};
    const bool outIsRead = lstat(temporary.c_str(), &out) == 0 && out.st_dev == static_cast<dev_t>(read.device) &&
                           out.st_ino == static_cast<ino_t>(read.inode);
    if (outIsRead && StillHolds(readFd, read, current)) {
        unlink(temporary.c_str());  // the old file
        return 0;
    }
    // Another program replaced or wrote the file since it was read: its version goes back.
    struct stat in {};
    if (lstat(target.c_str(), &in) == 0 && SameInode(in, made)) ExchangeNames(temporary, target);
    return kStartAgain;
}

int ReplaceByRename(const std::string& target, int lockFd, const struct stat* existing,
                    const std::optional<FileIdentity>& read, const std::string* current, std::string_view bytes,
                    FileIdentity& written) {
    std::string temporary;
    if (const int error = FreeHelperPath(TemporaryPathOf(target), temporary)) return error;
    int fd = -1;
    // One flush for the bytes and the attributes together, before the rename.
    if (const int error = CreatePrivateFile(temporary, bytes, fd, false)) return error;
    const auto discard = [&](int error) {
        if (fd >= 0) close(fd);
        unlink(temporary.c_str());
        return error;
    };
    if (existing != nullptr) {
        if (!CarryAttributes(target, lockFd, *existing, temporary, fd)) return discard(kCannotKeepAttributes);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);  // a new file: a file system with fixed modes keeps its own
    }
    struct stat made {};
    if (fsync(fd) != 0 || fstat(fd, &made) != 0) return discard(Failed(errno));
    written = IdentityOf(made);  // a rename keeps all of it
    if (existing == nullptr) {
        const int closed = close(fd);
        fd = -1;
        if (closed != 0) return discard(Failed(errno));
        if (!Unchanged(target, read)) return discard(kStartAgain);
        if (rename(temporary.c_str(), target.c_str()) != 0) return discard(Failed(errno));
    } else {
        // The new file is locked before it takes the name: the next writer waits on it until
        // this one has checked the swap and removed the old file under the temporary name.
        flock(fd, LOCK_EX);
        if (const int result = PutInPlace(temporary, target, lockFd, *read, *current, made)) return discard(result);
        close(fd);  // flushed before it took the name: an error here undoes nothing
        fd = -1;
    }
    SyncFolder(FolderOf(target));
    return 0;
}

int WriteAt(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = Faulted(FileFault::InPlaceWrite)
                                  ? -1
                                  : pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return Failed(errno);
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || fsync(fd) != 0) return Failed(errno);
    return 0;
}

// Writes the record of an in-place rewrite; without a state folder there is none, and only the
// copy beside the name written through tells of an interruption.
void WriteRecord(const std::optional<std::string>& recordPath, const std::string& copy, std::string_view bytes) {
    if (!recordPath || !MakeFolders(FolderOf(*recordPath))) return;
    WriteDurably(*recordPath, RecordText(PendingRecord{copy, bytes.size(), HashText(bytes)}));
}

int RewriteInPlace(const std::string& target, int readFd, const struct stat& existing,
                   const std::optional<FileIdentity>& read, const std::string& current, std::string_view bytes,
                   bool folderWritable, FileIdentity& written) {
    const auto copy = InPlaceCopyOf(target, existing, folderWritable);
    if (!copy) return RecordFailure(kErrorAccessDenied, FileProblem::NoStateFolder);
    if (!folderWritable && !MakeFolders(FolderOf(copy->path))) return Failed(errno);

    // The copy is complete once it has its name: a crash before leaves only the temporary.
    std::string copyTemporary;
    if (const int error = FreeHelperPath(copy->temporary, copyTemporary)) return error;
    int copyFd = -1;
    if (const int error = CreatePrivateFile(copyTemporary, current, copyFd)) return error;
    close(copyFd);
    if (rename(copyTemporary.c_str(), copy->path.c_str()) != 0) {
        const int error = Failed(errno);
        unlink(copyTemporary.c_str());
        return error;
    }
    SyncFolder(FolderOf(copy->path));
    const auto recordPath = RecordPathOf(existing);
    WriteRecord(recordPath, copy->path, bytes);
    const auto dropCopy = [&](int result) {
        if (Faulted(FileFault::DropCopy)) return result;  // as if killed here
        unlink(copy->path.c_str());
        if (recordPath) unlink(recordPath->c_str());
        return result;
    };
    if (!Unchanged(target, read)) return dropCopy(kStartAgain);

    const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return dropCopy(Failed(errno));
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || !SameInode(opened, existing) || !StillHolds(readFd, *read, current)) {
        close(fd);
        return dropCopy(kStartAgain);
    }
    int error = WriteAt(fd, bytes);
    struct stat made {};
    if (error == 0 && fstat(fd, &made) != 0) error = Failed(errno);
    if (error == 0) written = IdentityOf(made);
    if (error != 0) {
        const FileFailure failure = LastFileFailure();
        // A failed rewrite puts the old bytes back; the copy stays when even that fails.
        const bool restored = WriteAt(fd, current) == 0;
        close(fd);
        if (!restored) return RecordFailure(error, FileProblem::Cut, copy->path);
        RecordFailure(failure.error, failure.problem, failure.where);
        return dropCopy(error);
    }
    // The new bytes were flushed before: an error reported on closing does not undo them.
    const bool faulted = Faulted(FileFault::InPlaceClose);
    const bool closed = close(fd) == 0 && !faulted;
    if (!closed) {
        dropCopy(0);
        ClearFailure();
        RecordFailure(0, FileProblem::CloseFailed);
        return 0;
    }
    return dropCopy(0);
}

int Rewrite(const std::string& target, int lockFd, const struct stat& existing, const std::string& current,
            std::string_view bytes, FileIdentity& written) {
    if (const int error = WriteRefusal(target, lockFd, existing)) return error;
    if (const int error = CheckLeftCopies(target, existing, current, true)) return error;
    const std::string folder = FolderOf(target);
    struct stat folderInfo {};
    const bool folderWritable = stat(folder.c_str(), &folderInfo) == 0 && Writable(folder, folderInfo);
    const std::optional<FileIdentity> read = IdentityOf(existing);
    // A rename would give a hard-linked file a new inode and cut its other names loose.
    if (folderWritable && existing.st_nlink <= 1) {
        const int result = ReplaceByRename(target, lockFd, &existing, read, &current, bytes, written);
        if (result != kCannotKeepAttributes) return result;
    }
    return RewriteInPlace(target, lockFd, existing, read, current, bytes, folderWritable, written);
}

int Create(const std::string& target, std::string_view bytes, FileIdentity& written) {
    const std::string folder = FolderOf(target);
    struct stat folderInfo {};
    if (stat(folder.c_str(), &folderInfo) != 0) return Failed(errno);
    if (!S_ISDIR(folderInfo.st_mode)) return RecordFailure(kErrorPathNotFound, FileProblem::NotAFolder);
    if (!Writable(folder, folderInfo)) {
        if (access(folder.c_str(), W_OK) != 0) return Failed(errno);
        return RecordFailure(kErrorAccessDenied, FileProblem::NoPermission);
    }
    return ReplaceByRename(target, -1, nullptr, std::nullopt, nullptr, bytes, written);
}

int EditFileLocking(const std::string& path, const FileEdit& edit, bool takeLock, FileIdentity* written,
                    std::string* writtenBytes) {
    ClearFailure();
    const auto resolved = ResolveLinks(path);
    if (!resolved) return RecordFailure(kErrorPathNotFound, FileProblem::LinkLoop);
    const std::string& target = *resolved;
    return SettleFailure(RepeatWhileChanged([&](int) {
        FileLock lock;
        int fd = -1;
        bool missing = false;
        if (takeLock) {
            if (const int error = lock.Lock(target)) return error;
            fd = lock.Handle();
            missing = lock.LocksFolder();
        } else {
            struct stat info {};
            if (stat(target.c_str(), &info) != 0) {
                if (errno != ENOENT) return Failed(errno);
                missing = true;
            } else if (!S_ISREG(info.st_mode)) {
                return NotRegular(info.st_mode);
            } else if ((fd = open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) < 0) {
                return Failed(errno);
            }
        }
        struct stat existing {};
        std::optional<std::string> current;
        int result = 0;
        if (!missing) {
            std::string bytes;
            result = ReadForEdit(fd, bytes, existing);
            current = std::move(bytes);
        }
        std::string replacement;
        if (result == 0) result = MakeEdit(edit, current, replacement);
        FileIdentity made;
        if (result == 0)
            result = missing ? Create(target, replacement, made)
                             : Rewrite(target, fd, existing, *current, replacement, made);
        if (!takeLock && fd >= 0) close(fd);
        if (result == 0 && written != nullptr) *written = made;
        if (result == 0 && writtenBytes != nullptr) *writtenBytes = std::move(replacement);
        return result;
    }));
}

}  // namespace

FileReadResult ReadRegularFile(const std::string& path) {
    ClearFailure();
    const auto readError = [](int error) {
        return error == EACCES ? RecordFailure(kErrorAccessDenied, FileProblem::NoReadPermission) : Failed(error);
    };
    std::string bytes;
    const int error = RepeatWhileChanged([&](int) {
        // Checked before opening: opening a pipe or a device can block or have side effects.
        struct stat info {};
        if (stat(path.c_str(), &info) != 0) return readError(errno);
        if (!S_ISREG(info.st_mode)) return NotRegular(info.st_mode);
        const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return readError(errno);
        const int result = ReadAll(fd, bytes, info);
        close(fd);
        return result;
    });
    if (error != 0) return {std::nullopt, error};
    return {std::move(bytes), 0};
}

std::string InterruptedWriteCopyOf(const std::string& path) {
    const auto resolved = ResolveLinks(path).value_or(path);
    struct stat info {};
    if (stat(resolved.c_str(), &info) == 0) {
        for (const std::string& copy : LeftCopyPaths(resolved, info, ReadRecord(RecordPathOf(info))))
            if (FileExists(copy)) return copy;
    }
    return FolderOf(resolved) + "/" + HelperNameOf(NameOf(resolved)) + ".morvane-old";
}

std::optional<std::string> InterruptedWriteCopy(const std::string& path) {
    const FileFailure before = LastFileFailure();
    const auto resolved = ResolveLinks(path);
    struct stat info {};
    std::optional<std::string> found;
    if (resolved && stat(resolved->c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        if (const auto current = ReadRegularFile(*resolved).bytes) {
            std::string copy;
            if (CheckLeftCopies(*resolved, info, *current, false, &copy) != 0) found = copy;
        }
    }
    RecordFailure(before.error, before.problem, before.where);
    return found;
}

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return IdentityOf(info);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsSameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

int EditFile(const std::string& path, const FileEdit& edit, FileIdentity* written, std::string* writtenBytes) {
    return EditFileLocking(path, edit, true, written, writtenBytes);
}

int EditFileWithoutLock(const std::string& path, const FileEdit& edit) {
    return EditFileLocking(path, edit, false, nullptr, nullptr);
}

int RemoveFileIf(const std::string& path, const std::function<bool(const std::string& current)>& remove) {
    ClearFailure();
    const auto resolved = ResolveLinks(path);
    if (!resolved) return RecordFailure(kErrorPathNotFound, FileProblem::LinkLoop);
    return SettleFailure(RepeatWhileChanged([&](int) {
        FileLock lock;
        if (const int error = lock.Lock(*resolved)) return error;
        if (lock.LocksFolder()) return 0;
        struct stat existing {};
        std::string bytes;
        if (const int result = ReadForEdit(lock.Handle(), bytes, existing)) return result;
        if (!remove(bytes)) return kErrorFileChanged;
        // Another program may have renamed a new file over the one locked and read.
        if (!Unchanged(*resolved, IdentityOf(existing))) return kStartAgain;
        if (unlink(resolved->c_str()) != 0) return Failed(errno);
        SyncFolder(FolderOf(*resolved));
        return 0;
    }));
}

}  // namespace morvane::platform
