#include "platform/FileAccess.h"

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FileAccessParts.h"
#include "PosixErrors.h"
#include "platform/FileLock.h"

namespace morvane::platform {
namespace {

// Returned inside a write when the file changed under it: the edit is made again.
constexpr int kStartAgain = -1;
// Returned when a renamed copy could not carry the file's attributes: it is rewritten in place.
constexpr int kCannotKeepAttributes = -2;
// A file that changes under every attempt is left alone in the end.
constexpr int kMaxAttempts = 20;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the path that holds the bytes (which need not exist yet).
std::optional<std::string> ResolveLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t length = readlink(path.c_str(), target.data(), PATH_MAX);
        if (length < 0) return std::nullopt;
        std::string next(target.data(), static_cast<std::size_t>(length));
        path = (!next.empty() && next.front() == '/') ? next : FolderOf(path) + "/" + next;
    }
    return std::nullopt;  // a loop of links
}

// Write permission as the game's platform sees it: a file or folder without any write bit is
// read-only even for a user (such as root) whom the system would let write it.
bool Writable(const std::string& path, const struct stat& info) {
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return access(path.c_str(), W_OK) == 0;
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

// Reads a whole regular file from the start of `fd`; `info` gets what it was at the start.
int ReadAll(int fd, std::string& bytes, struct stat& info) {
    CountFileRead();
    bytes.clear();
    if (fstat(fd, &info) != 0) return WindowsErrorOf(errno);
    if (!S_ISREG(info.st_mode)) return kErrorNotRegularFile;
    if (static_cast<std::uint64_t>(info.st_size) > kMaxFileBytes) return kErrorFileTooLarge;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    off_t offset = 0;
    while (true) {
        const ssize_t got = pread(fd, buffer, sizeof buffer, offset);
        if (got < 0) {
            if (errno == EINTR) continue;
            return WindowsErrorOf(errno);
        }
        if (got == 0) return 0;
        offset += got;
        bytes.append(buffer, static_cast<std::size_t>(got));
        // A file that grows while it is read (or lies about its size) stops at the limit too.
        if (bytes.size() > kMaxFileBytes) return kErrorFileTooLarge;
    }
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

// Creates `path` afresh, readable by its owner only, with `bytes` flushed to disk. A leftover
// of an interrupted write of the same name is removed first (the caller holds the lock).
int CreatePrivateFile(const std::string& path, std::string_view bytes, int& fd) {
    if (unlink(path.c_str()) != 0 && errno != ENOENT) return WindowsErrorOf(errno);
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return WindowsErrorOf(errno);
    if (!WriteAll(fd, bytes) || fsync(fd) != 0) {
        const int error = WindowsErrorOf(errno);
        close(fd);
        fd = -1;
        unlink(path.c_str());
        return error;
    }
    return 0;
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

// A stable 64-bit FNV-1a hash, for a name per path in the state folder.
std::string HashOf(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char byte : text) hash = (hash ^ byte) * 1099511628211ull;
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

// The start of the names of the files a write keeps beside `name`: hidden, and short enough that
// the longest suffix (".morvane-tmp") still fits a file name's 255 bytes.
std::string HelperNameOf(const std::string& name) {
    constexpr std::size_t kRoom = 255 - 1 - std::string_view(".morvane-tmp").size();
    if (name.size() <= kRoom) return "." + name;
    return "." + name.substr(0, kRoom - 17) + "." + HashOf(name);
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

std::optional<InPlaceCopy> InPlaceCopyOf(const std::string& target, bool folderWritable) {
    if (folderWritable) {
        const std::string base = FolderOf(target) + "/" + HelperNameOf(NameOf(target));
        return InPlaceCopy{base + ".morvane-old", base + ".morvane-tmp"};
    }
    const auto state = StateFolder();
    if (!state) return std::nullopt;
    // Named after the whole path: two folders' rules.ini must not share a copy.
    const std::string base = *state + "/" + HelperNameOf(NameOf(target) + "." + HashOf(target));
    return InPlaceCopy{base + ".morvane-old", base + ".morvane-tmp"};
}

int ReplaceByRename(const std::string& target, int lockFd, const struct stat* existing,
                    const std::optional<FileIdentity>& read, std::string_view bytes, FileIdentity& written) {
    const std::string temporary = TemporaryPathOf(target);
    int fd = -1;
    if (const int error = CreatePrivateFile(temporary, bytes, fd)) return error;
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
    if (fsync(fd) != 0 || fstat(fd, &made) != 0) return discard(WindowsErrorOf(errno));
    written = IdentityOf(made);  // a rename keeps all of it
    const int closed = close(fd);
    fd = -1;
    if (closed != 0) return discard(WindowsErrorOf(errno));
    if (!Unchanged(target, read)) return discard(kStartAgain);
    if (rename(temporary.c_str(), target.c_str()) != 0) return discard(WindowsErrorOf(errno));
    SyncFolder(FolderOf(target));
    return 0;
}

int WriteAt(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return WindowsErrorOf(errno);
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || fsync(fd) != 0) return WindowsErrorOf(errno);
    return 0;
}

// Removes the copy left by an interrupted in-place rewrite when the file still holds exactly
// what it saved (the rewrite had not begun); any other leftover may be the only whole version.
int ClearInterruptedCopy(const InPlaceCopy& copy, const std::string& current) {
    struct stat info {};
    if (lstat(copy.path.c_str(), &info) != 0) return 0;
    if (ReadFileBytes(copy.path) != current) return kErrorInterruptedWrite;
    if (unlink(copy.path.c_str()) != 0) return WindowsErrorOf(errno);
    return 0;
}

int RewriteInPlace(const std::string& target, const struct stat& existing, const std::optional<FileIdentity>& read,
                   const std::string& current, std::string_view bytes, bool folderWritable, FileIdentity& written) {
    const auto copy = InPlaceCopyOf(target, folderWritable);
    if (!copy || (!folderWritable && !MakeFolders(FolderOf(copy->path)))) return kErrorAccessDenied;
    if (const int error = ClearInterruptedCopy(*copy, current)) return error;

    // The copy is complete once it has its name: a crash before leaves only the temporary.
    int copyFd = -1;
    if (const int error = CreatePrivateFile(copy->temporary, current, copyFd)) return error;
    close(copyFd);
    if (rename(copy->temporary.c_str(), copy->path.c_str()) != 0) {
        const int error = WindowsErrorOf(errno);
        unlink(copy->temporary.c_str());
        return error;
    }
    SyncFolder(FolderOf(copy->path));
    const auto dropCopy = [&](int result) {
        unlink(copy->path.c_str());
        return result;
    };
    if (!Unchanged(target, read)) return dropCopy(kStartAgain);

    const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return dropCopy(WindowsErrorOf(errno));
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || opened.st_dev != existing.st_dev || opened.st_ino != existing.st_ino) {
        close(fd);
        return dropCopy(kStartAgain);
    }
    int error = WriteAt(fd, bytes);
    struct stat made {};
    if (error == 0 && fstat(fd, &made) != 0) error = WindowsErrorOf(errno);
    if (error == 0) written = IdentityOf(made);
    // A failed rewrite puts the old bytes back; the copy stays when even that fails.
    const bool restored = error == 0 || WriteAt(fd, current) == 0;
    const bool closed = close(fd) == 0;
    if (error != 0) return restored ? dropCopy(error) : error;
    if (!closed) return WindowsErrorOf(errno);
    return dropCopy(0);
}

int Rewrite(const std::string& target, int lockFd, const struct stat& existing, const std::string& current,
            std::string_view bytes, FileIdentity& written) {
    if (!Writable(target, existing)) return kErrorAccessDenied;
    const std::string folder = FolderOf(target);
    struct stat folderInfo {};
    const bool folderWritable = stat(folder.c_str(), &folderInfo) == 0 && Writable(folder, folderInfo);
    const std::optional<FileIdentity> read = IdentityOf(existing);
    // A rename would give a hard-linked file a new inode and cut its other names loose.
    if (folderWritable && existing.st_nlink <= 1) {
        const int result = ReplaceByRename(target, lockFd, &existing, read, bytes, written);
        if (result != kCannotKeepAttributes) return result;
    }
    return RewriteInPlace(target, existing, read, current, bytes, folderWritable, written);
}

int Create(const std::string& target, std::string_view bytes, FileIdentity& written) {
    const std::string folder = FolderOf(target);
    struct stat folderInfo {};
    if (stat(folder.c_str(), &folderInfo) != 0) return WindowsErrorOf(errno);
    if (!S_ISDIR(folderInfo.st_mode)) return kErrorPathNotFound;
    if (!Writable(folder, folderInfo)) return kErrorAccessDenied;
    return ReplaceByRename(target, -1, nullptr, std::nullopt, bytes, written);
}

int EditFileLocking(const std::string& path, const FileEdit& edit, bool takeLock, FileIdentity* written) {
    FileIdentity made;
    const auto resolved = ResolveLinks(path);
    if (!resolved) return kErrorPathNotFound;
    const std::string& target = *resolved;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
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
                if (errno != ENOENT) return WindowsErrorOf(errno);
                missing = true;
            } else if (!S_ISREG(info.st_mode)) {
                return kErrorNotRegularFile;
            } else if ((fd = open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) < 0) {
                return WindowsErrorOf(errno);
            }
        }
        struct stat existing {};
        std::optional<std::string> current;
        int result = 0;
        if (!missing) {
            std::string bytes;
            result = ReadAll(fd, bytes, existing);
            current = std::move(bytes);
        }
        std::string replacement;
        if (result == 0) result = edit(current, replacement);
        if (result == 0)
            result = missing ? Create(target, replacement, made)
                             : Rewrite(target, fd, existing, *current, replacement, made);
        if (!takeLock && fd >= 0) close(fd);
        if (result == 0 && written != nullptr) *written = made;
        if (result != kStartAgain) return result;
    }
    return kErrorFileChanged;
}

}  // namespace

FileReadResult ReadRegularFile(const std::string& path) {
    // Checked before opening: opening a pipe or a device can block or have side effects.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return {std::nullopt, WindowsErrorOf(errno)};
    if (!S_ISREG(info.st_mode)) return {std::nullopt, kErrorNotRegularFile};
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {std::nullopt, WindowsErrorOf(errno)};
    std::string bytes;
    const int error = ReadAll(fd, bytes, info);
    close(fd);
    if (error != 0) return {std::nullopt, error};
    return {std::move(bytes), 0};
}

std::string InterruptedWriteCopyOf(const std::string& path) {
    const auto resolved = ResolveLinks(path).value_or(path);
    std::string copy = InPlaceCopyOf(resolved, true)->path;
    if (const auto state = InPlaceCopyOf(resolved, false); state && FileExists(state->path)) copy = state->path;
    return copy;
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

int EditFile(const std::string& path, const FileEdit& edit, FileIdentity* written) {
    return EditFileLocking(path, edit, true, written);
}

int EditFileWithoutLock(const std::string& path, const FileEdit& edit) {
    return EditFileLocking(path, edit, false, nullptr);
}

}  // namespace morvane::platform
