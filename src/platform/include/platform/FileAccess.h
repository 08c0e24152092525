#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Whole-file reads and safe whole-file writes. Errors are reported as Windows error numbers so
// that every platform shows the user the same numbers.
//
// Only regular files are read or written (symbolic links are followed): a folder, a device, a
// pipe or a socket is refused without being opened for long, so a pipe never hangs a read.
//
// Every write holds an exclusive advisory lock on the file from its read to its replace, so two
// writers (two windows, a window and a script) take turns instead of losing each other's edits.
// Just before the replace it checks that the file is still the one it read; when another
// program changed it meanwhile, the edit is made again on the new contents.
//
// A write keeps everything about the file: the mode bits (setuid, setgid and sticky included),
// owner and group where the writer may set them, ACL entries and extended attributes. Normally
// the new bytes go to a temporary file beside the file (".NAME.morvane-tmp", created readable
// by its owner only, one fixed name per file so a crash leaves at most one) and are renamed
// over it. A file with several hard links, a file in a folder that cannot be written, and a
// file whose attributes cannot be carried over to a new file are rewritten in place instead:
// a complete copy of the old contents is written and flushed first (".NAME.morvane-old" beside
// the file, or under the user's state folder when the folder cannot be written) and removed
// once the new contents are on disk. A record of that copy, kept under the user's state folder
// and named after the file's identity (device and inode, or volume and file id), lets a write
// through any other name of the same file (a hard link, a folder reached through a symbolic
// link) find it too.
//
// Programs that take no lock (cp, sed -i) are watched for as closely as the system allows: a
// read during which the file changed is made again, and the replace swaps the new file in,
// checks that what it swapped out is the file it read, unchanged, and swaps back if not.
namespace morvane::platform {

inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorWriteFault = 29;
// Another writer held the file's lock for longer than the lock wait limit.
inline constexpr int kErrorLockViolation = 33;
inline constexpr int kErrorDiskFull = 112;
// The path names a folder, a device, a pipe or a socket rather than a regular file.
inline constexpr int kErrorNotRegularFile = 222;
// The file is larger than kMaxFileBytes.
inline constexpr int kErrorFileTooLarge = 223;
// The file's bytes are not the ones the caller expected (ERROR_FILE_INVALID: "the file has
// been externally altered"), or it kept changing under a write that tried again and again.
inline constexpr int kErrorFileChanged = 1006;
// An earlier write that rewrote the file in place was interrupted: the file may be cut, and the
// copy of its old contents is kept for the user (ERROR_FILE_CORRUPT).
inline constexpr int kErrorInterruptedWrite = 1392;

// What lies behind an error number: the words a message gives for it.
enum class FileProblem {
    None,
    NoPermission,      // the user may not change the file or its folder
    NoReadPermission,  // the user may not read the file
    ReadOnlyFile,      // the file has no write permission at all
    ReadOnlyDisk,      // the file system is mounted read-only
    Immutable,         // the file is marked immutable
    NoStateFolder,     // no home folder to keep the copy of the old contents in
    Missing,           // the file or a folder on its path does not exist
    NotAFolder,        // a part of the path that should be a folder is a file
    LinkLoop,          // symbolic links that lead round in a circle
    PathTooLong,
    DiskFull,
    InputOutput,  // the disk reported an input/output error
    Folder,       // not a regular file: a folder, a pipe, a device, a socket
    Pipe,
    Device,
    Socket,
    TooLarge,         // the file is larger than kMaxFileBytes
    WouldBeTooLarge,  // the write would make it larger than kMaxFileBytes
    HelperInTheWay,   // every name for the write's temporary file is taken by a folder
    Cut,              // an in-place write failed and so did putting the old bytes back
    CloseFailed,      // a warning: closing reported an error after the bytes were flushed
};

// The last failure of a read or write of this thread: its error number, what lies behind it,
// and the path that matters to the user with it (the copy of the old contents, the folder in
// the way). After a success `error` is 0; `problem` is then a warning or None.
struct FileFailure {
    int error = 0;
    FileProblem problem = FileProblem::None;
    std::string where;
};
FileFailure LastFileFailure();

// The largest file read or edited: far above any rules file (the game's own is about 100 KB),
// low enough that a wrong path such as a disk image cannot exhaust memory.
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t{16} * 1024 * 1024;

// What a read found: the bytes, or the error number (never both).
struct FileReadResult {
    std::optional<std::string> bytes;
    int error = 0;
};

// The bytes of a regular file of at most kMaxFileBytes.
FileReadResult ReadRegularFile(const std::string& path);

// The bytes of a regular file, or nothing when it cannot be read (see ReadRegularFile for why).
std::optional<std::string> ReadFileBytes(const std::string& path);

// How many times a whole file was read so far by this process (reads and the reads of writes
// alike): lets a test see how often one operation goes to the disk.
std::uint64_t FileReadCount();

// Sentences naming the path, saying what went wrong and what to do about it, for messages. When
// `error` is the number of this thread's last failure, its problem gives the precise reason.
std::string DescribeFileError(int error, const std::string& path);

// The same for a failure as recorded (a warning too, whose error number is 0).
std::string DescribeFileFailure(const FileFailure& failure, const std::string& path);

// "cannot read PATH." and why, for the messages of a failed read (the error number of
// ReadRegularFile and its problem, as just recorded).
std::string DescribeReadFailure(int error, const std::string& path);

// The copy of the file's old contents kept from an earlier write that was cut short, found by
// the file's identity; nothing when there is none, or when what it left is whole (the write
// had not begun or had finished).
std::optional<std::string> InterruptedWriteCopy(const std::string& path);

// What tells one state of a file from another without reading it.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;  // since the epoch

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the regular file at `path` (links followed); nothing when there is none
// (missing, or not a regular file).
std::optional<FileIdentity> IdentifyFile(const std::string& path);

bool FileExists(const std::string& path);

// Whether `path` names a regular file (links followed).
bool IsRegularFile(const std::string& path);

// Whether two paths name the same file (through links and differently spelled paths).
bool IsSameFile(const std::string& first, const std::string& second);

// Computes the new contents of a file from its current ones (nothing when the file does not
// exist yet). Returns 0 and sets `replacement`, or returns an error number to leave the file
// as it is. It may be called more than once when the file changes under the write.
using FileEdit = std::function<int(const std::optional<std::string>& current, std::string& replacement)>;

// Rewrites the file under its lock with what `edit` makes of it (see the namespace comment). A
// file that does not exist is created, readable and writable as the umask allows. On failure
// the file is left as it was and the error number is returned. On success `written`, when
// given, gets the identity of the file as this write left it (taken before the lock is
// released, so a later writer's change is never mistaken for this one), and `writtenBytes`,
// when given, the bytes written (moved there, not copied).
int EditFile(const std::string& path, const FileEdit& edit, FileIdentity* written = nullptr,
             std::string* writtenBytes = nullptr);

// Replaces the file's content, whatever it is now (an EditFile that ignores the old bytes).
int ReplaceFileAtomically(const std::string& path, const std::string& bytes);

// Replaces the file's content only when it is exactly `expectedBytes` now, else returns
// kErrorFileChanged and leaves it (an undo that must not throw away someone else's change).
// `written` as for EditFile.
int ReplaceFileIfUnchanged(const std::string& path, std::string_view expectedBytes, std::string_view newBytes,
                           FileIdentity* written = nullptr);

// Removes the file under its lock when `remove` says so of its current bytes (an undo of the
// write that made the file). Returns 0 when it was removed or was not there, kErrorFileChanged
// when `remove` said no (the file stays), or the error number.
int RemoveFileIf(const std::string& path, const std::function<bool(const std::string& current)>& remove);

}  // namespace morvane::platform
