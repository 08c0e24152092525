#include "platform/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <vector>

namespace morvane::platform {
namespace {

int WindowsErrorOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return kErrorAccessDenied;
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
            return kErrorPathNotFound;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return kErrorDiskFull;
        default:
            return kErrorWriteFault;
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
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

bool WriteAll(int fd, const std::string& bytes) {
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

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            close(fd);
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return bytes;
}

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
#if defined(__APPLE__)
    const auto& modified = info.st_mtimespec;
#else
    const auto& modified = info.st_mtim;
#endif
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::uint64_t>(info.st_size),
                        static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec};
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsSameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

int ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
    const auto resolved = ResolveLinks(path);
    if (!resolved) return kErrorPathNotFound;
    const std::string& target = *resolved;
    const std::string folder = FolderOf(target);

    struct stat folderInfo {};
    if (stat(folder.c_str(), &folderInfo) != 0) return WindowsErrorOf(errno);
    if (!S_ISDIR(folderInfo.st_mode)) return kErrorPathNotFound;

    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && (S_ISDIR(existing.st_mode) || !Writable(target, existing))) return kErrorAccessDenied;
    if (!Writable(folder, folderInfo)) return kErrorAccessDenied;

    std::string temporary = folder + "/.morvane-XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return WindowsErrorOf(errno);

    int error = 0;
    mode_t mode = 0666;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    if (!WriteAll(fd, bytes) || fchmod(fd, mode) != 0 || fsync(fd) != 0) error = WindowsErrorOf(errno);
    if (exists && error == 0 && fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        // Keeping the owner needs privileges; a file rewritten by its own user keeps it anyway.
    }
    if (close(fd) != 0 && error == 0) error = WindowsErrorOf(errno);
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = WindowsErrorOf(errno);
    if (error != 0) {
        unlink(temporary.c_str());
        return error;
    }
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);  // makes the rename itself durable
        close(folderFd);
    }
    return 0;
}

}  // namespace morvane::platform
