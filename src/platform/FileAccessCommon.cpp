// The parts of file access that are the same on every system, on top of each system's own.
#include "FileAccessParts.h"
#include "platform/FileAccess.h"
#include "platform/FileLock.h"

#include <atomic>

namespace morvane::platform {
namespace {

std::atomic<std::uint64_t> g_fileReads{0};

}  // namespace

void CountFileRead() { g_fileReads.fetch_add(1, std::memory_order_relaxed); }

std::uint64_t FileReadCount() { return g_fileReads.load(std::memory_order_relaxed); }

std::optional<std::string> ReadFileBytes(const std::string& path) { return ReadRegularFile(path).bytes; }

std::string DescribeFileError(int error, const std::string& path) {
    switch (error) {
        case 0:
            return path + " is fine.";
        case kErrorPathNotFound:
            return path + " or its folder does not exist.";
        case kErrorAccessDenied:
            return path + " may not be written (no permission, or a read-only file or disk).";
        case kErrorLockViolation:
            return "Another program kept " + path + " locked for more than " + std::to_string(LockWaitLimit().count()) +
                   " ms while writing it; try again.";
        case kErrorDiskFull:
            return "The disk holding " + path + " is full.";
        case kErrorNotRegularFile:
            return path + " is not a regular file (it is a folder, a device, a pipe or a socket).";
        case kErrorFileTooLarge:
            return path + " is larger than " + std::to_string(kMaxFileBytes / (1024 * 1024)) +
                   " MiB, more than any rules file.";
        case kErrorFileChanged:
            return path + " was changed by another program.";
        case kErrorInterruptedWrite:
            return "An earlier write to " + path + " was interrupted; its contents before that write are kept in " +
                   InterruptedWriteCopyOf(path) + ". Check the file, then delete the copy.";
        default:
            return path + " could not be read or written (error " + std::to_string(error) + ").";
    }
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
