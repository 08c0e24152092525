// The parts of file access that are the same on every system, on top of each system's own.
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "FileAccessParts.h"
#include "platform/FileAccess.h"
#include "platform/FileLock.h"

namespace morvane::platform {

namespace {
std::atomic<std::uint64_t> g_fileReads{0};
}  // namespace

void CountFileRead() { g_fileReads.fetch_add(1, std::memory_order_relaxed); }

std::uint64_t FileReadCount() { return g_fileReads.load(std::memory_order_relaxed); }

namespace {

thread_local FileFailure g_lastFailure;

struct InjectedFault {
    int count = 0;
    int errorCode = 0;
    int skip = 0;
};
std::array<InjectedFault, 4> g_faults;

std::string Megabytes(std::uint64_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

// What an error number alone says, when nothing more is known about it.
std::string DescribeNumber(int error, const std::string& path) {
    switch (error) {
        case 0:
            return path + " is fine.";
        case 2:  // the file itself is missing (Windows)
        case kErrorPathNotFound:
            return path +
                   " or one of the folders on its path does not exist. Check the path; create the folder "
                   "if it is missing.";
        case kErrorAccessDenied:
            return path +
                   " may not be written (no permission, or a read-only file or disk). Make it writable, "
                   "or keep your changes in a copy elsewhere with Save As.";
        case 19:  // the medium is write-protected (Windows)
            return path + " is on a write-protected disk. Copy it to a writable disk and edit the copy.";
        case kErrorWriteFault:
            return "The disk reported an error while working on " + path +
                   ". Check the disk (or its network connection), then try again.";
        case 32:  // a sharing violation (Windows)
            return "Another program has " + path + " open and does not let it be changed. Close it, then try again.";
        case kErrorLockViolation:
            return "Another program kept " + path + " locked for more than " + std::to_string(LockWaitLimit().count()) +
                   " ms while writing it; try again.";
        case 39:  // the disk is full (Windows, some calls)
        case kErrorDiskFull:
            return "The disk holding " + path +
                   " is full. Make room on it, then try again; the file was left as "
                   "it was.";
        case kErrorNotRegularFile:
            return path + " is not a regular file (it is a folder, a device, a pipe or a socket).";
        case kErrorFileTooLarge:
            return path + " is larger than " + Megabytes(kMaxFileBytes) + ", more than any rules file.";
        case kErrorFileChanged:
            return path + " was changed by another program.";
        case kErrorInterruptedWrite:
            return "An earlier write to " + path + " was interrupted; its contents before that write are kept in " +
                   InterruptedWriteCopyOf(path) + ". Check the file, then delete the copy.";
        default:
            return path + " could not be read or written (error " + std::to_string(error) + ").";
    }
}

}  // namespace

FileFailure LastFileFailure() { return g_lastFailure; }

int RecordFailure(int error, FileProblem problem, std::string where) {
    g_lastFailure = FileFailure{error, problem, std::move(where)};
    return error;
}

void ClearFailure() { g_lastFailure = FileFailure{}; }

int SettleFailure(int error) {
    if (error == 0) {
        // A warning recorded on the way stays; a failure recovered from does not.
        if (g_lastFailure.error != 0) ClearFailure();
        return 0;
    }
    if (g_lastFailure.error != error) RecordFailure(error, FileProblem::None);
    return error;
}

void InjectFileFault(FileFault fault, int errorCode, int skip, int count) {
    g_faults[static_cast<std::size_t>(fault)] = InjectedFault{count, errorCode, skip};
}

void ClearFileFaults() { g_faults = {}; }

bool Faulted(FileFault fault) {
    InjectedFault& injected = g_faults[static_cast<std::size_t>(fault)];
    if (injected.count <= 0) return false;
    if (injected.skip > 0) {
        --injected.skip;
        return false;
    }
    --injected.count;
#ifndef _WIN32
    errno = injected.errorCode;
#endif
    return true;
}

std::string DescribeFileFailure(const FileFailure& failure, const std::string& path) {
    switch (failure.problem) {
        case FileProblem::None:
            break;
        case FileProblem::NoPermission:
            return path +
                   " may not be changed: you have no permission to write it or its folder. Ask for write "
                   "permission, or keep your changes in a copy elsewhere with Save As.";
        case FileProblem::NoReadPermission:
            return "You have no permission to read " + path + ". Ask for read permission, or open a copy of it.";
        case FileProblem::ReadOnlyFile:
            return path + " is read-only. Give it write permission (clear its read-only mark), then try again.";
        case FileProblem::ReadOnlyDisk:
            return path +
                   " is on a file system that is mounted read-only. Copy it to a writable disk and edit the "
                   "copy.";
        case FileProblem::Immutable:
            return path +
                   " is marked immutable: no one may change it. Remove the mark (chattr -i, as root), then "
                   "try again.";
        case FileProblem::NoStateFolder:
            return "The folder of " + path +
                   " may not be written, and there is no home folder to keep a copy of the file's old contents in "
                   "while it is rewritten. Set HOME (or XDG_STATE_HOME), or make the folder writable, then try "
                   "again.";
        case FileProblem::Missing:
            return path +
                   " or one of the folders on its path does not exist. Check the path; create the folder if "
                   "it is missing.";
        case FileProblem::NotAFolder:
            return "A part of the path " + path + " that should be a folder is a file. Check the path.";
        case FileProblem::LinkLoop:
            return path + " leads through a loop of symbolic links. Fix the links, or use the file's real path.";
        case FileProblem::PathTooLong:
            return "The path " + path + " is too long for the system. Move the file to a shorter path.";
        case FileProblem::DiskFull:
            return DescribeNumber(kErrorDiskFull, path);
        case FileProblem::InputOutput:
            return "The disk reported an input/output error while working on " + path +
                   ". Check the disk (or its network connection), then try again.";
        case FileProblem::Folder:
            return path + " is a folder, not a file. Choose the rules file inside it.";
        case FileProblem::Pipe:
            return path + " is a named pipe, not a file. Choose a regular file.";
        case FileProblem::Device:
            return path + " is a device, not a file. Choose a regular file.";
        case FileProblem::Socket:
            return path + " is a socket, not a file. Choose a regular file.";
        case FileProblem::TooLarge:
            return path + " is larger than " + Megabytes(kMaxFileBytes) +
                   ", more than any rules file, and is not read. Check that it is the right file.";
        case FileProblem::WouldBeTooLarge:
            return "The change would make " + path + " larger than " + Megabytes(kMaxFileBytes) +
                   ", more than Morvane reads back; the file was left as it was.";
        case FileProblem::HelperInTheWay:
            return "A folder named " + failure.where + " is in the way of the temporary file a write needs beside " +
                   path + ". Move or rename that folder, then try again.";
        case FileProblem::Cut:
            return "The write to " + path +
                   " failed halfway and its old contents could not be put back: the file is now incomplete. Its "
                   "whole contents before this write are kept in " +
                   failure.where + "; copy that file over it before you go on.";
        case FileProblem::CloseFailed:
            return path +
                   " was written and flushed to the disk, but the system reported an error when it was "
                   "closed. Check that the file holds your change.";
    }
    if (failure.error == kErrorInterruptedWrite && !failure.where.empty())
        return "An earlier write to " + path + " was interrupted; its contents before that write are kept in " +
               failure.where + ". Check the file, then delete the copy.";
    return DescribeNumber(failure.error, path);
}

std::string DescribeFileError(int error, const std::string& path) {
    const FileFailure last = LastFileFailure();
    return DescribeFileFailure(last.error == error && error != 0 ? last : FileFailure{error, FileProblem::None, {}},
                               path);
}

std::string DescribeReadFailure(int error, const std::string& path) {
    return "cannot read " + path + ". " + DescribeFileError(error, path);
}

std::optional<std::string> ReadFileBytes(const std::string& path) { return ReadRegularFile(path).bytes; }

std::string HashText(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : bytes) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

std::string IdentityName(std::uint64_t device, std::uint64_t inode) {
    char name[40];
    std::snprintf(name, sizeof name, "%llx-%llx", static_cast<unsigned long long>(device),
                  static_cast<unsigned long long>(inode));
    return name;
}

std::string RecordNameOf(std::uint64_t device, std::uint64_t inode) {
    return IdentityName(device, inode) + ".morvane-pending";
}

std::string RecordText(const PendingRecord& record) {
    return "copy\t" + record.copy + "\nnew\t" + std::to_string(record.newSize) + "\t" + record.newHash + "\n";
}

std::optional<PendingRecord> ParseRecord(std::string_view text) {
    const std::size_t copyEnd = text.find('\n');
    if (text.substr(0, 5) != "copy\t" || copyEnd == std::string_view::npos) return std::nullopt;
    PendingRecord record;
    record.copy = std::string(text.substr(5, copyEnd - 5));
    const std::string_view rest = text.substr(copyEnd + 1);
    const std::size_t tab = rest.find('\t', 4);
    if (rest.substr(0, 4) != "new\t" || tab == std::string_view::npos || rest.size() < tab + 17) return std::nullopt;
    try {
        record.newSize = std::stoull(std::string(rest.substr(4, tab - 4)));
    } catch (...) {
        return std::nullopt;
    }
    record.newHash = std::string(rest.substr(tab + 1, 16));
    return record;
}

LeftCopy JudgeLeftCopy(const std::string& copy, const std::optional<PendingRecord>& record,
                       const std::string& current) {
    if (copy == current) return LeftCopy::NotBegun;
    if (record && record->newSize == current.size() && record->newHash == HashText(current)) return LeftCopy::Finished;
    return LeftCopy::Interrupted;
}

int RepeatWhileChanged(const std::function<int(int attempt)>& attempt) {
    constexpr int kMaxAttempts = 20;
    for (int number = 0; number < kMaxAttempts; ++number) {
        const int result = attempt(number);
        if (result == kChangedDuringRead) {
            // A short pause, so that a program in the middle of writing the file can finish.
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(1 + number * 2, 20)));
            continue;
        }
        if (result != kStartAgain) return result;
    }
    return RecordFailure(kErrorFileChanged, FileProblem::None);
}

int MakeEdit(const FileEdit& edit, const std::optional<std::string>& current, std::string& replacement) {
    if (const int error = edit(current, replacement)) return error;
    if (replacement.size() > kMaxFileBytes) return RecordFailure(kErrorFileTooLarge, FileProblem::WouldBeTooLarge);
    return 0;
}

int ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
    return EditFile(path, [&](const std::optional<std::string>&, std::string& replacement) {
        replacement = bytes;
        return 0;
    });
}

int ReplaceFileIfUnchanged(const std::string& path, std::string_view expectedBytes, std::string_view newBytes,
                           FileIdentity* written) {
    return EditFile(
        path,
        [&](const std::optional<std::string>& current, std::string& replacement) {
            if (!current || *current != expectedBytes) return kErrorFileChanged;
            replacement = newBytes;
            return 0;
        },
        written);
}

}  // namespace morvane::platform
