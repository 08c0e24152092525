#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileAccess.h"
#include "platform/FileFaults.h"

// What each system's half of file access provides to the shared part, and what the shared part
// gives both halves.
namespace morvane::platform {

// Where the copy of the old contents is kept after a write that rewrote the file at `path` in
// place was interrupted (the name beside the file; the record by identity may name another).
std::string InterruptedWriteCopyOf(const std::string& path);

// Returned inside a write when the file changed under it: the edit is made again.
inline constexpr int kStartAgain = -1;
// Returned by a read during which the file changed (another program writing it without a lock,
// such as cp filling it after truncating it): what was read may be half of something, so it is
// read again after a short pause.
inline constexpr int kChangedDuringRead = -3;

// Runs `attempt` (given its number, from 0) again while it returns kStartAgain or
// kChangedDuringRead; a file that changes under every one of 20 attempts is left alone in the
// end with kErrorFileChanged. Otherwise what the attempt returned.
int RepeatWhileChanged(const std::function<int(int attempt)>& attempt);

// The bytes `edit` makes of `current`, refused when they would pass kMaxFileBytes.
int MakeEdit(const FileEdit& edit, const std::optional<std::string>& current, std::string& replacement);

// Counts one whole-file read (see FileReadCount).
void CountFileRead();
// Records this thread's failure (see LastFileFailure) and returns its error number.
int RecordFailure(int error, FileProblem problem, std::string where = {});
// Forgets the last failure (a success); a warning may be recorded after it.
void ClearFailure();
// Makes sure the last failure has `error` as its number: a failure of another number recorded
// on the way (one the write recovered from) gives way to a bare one.
int SettleFailure(int error);

// How many names a write tries for a file of its own beside the file: `base`, then `base`1 to 9.
inline constexpr int kHelperNames = 10;

// The first of the names `base`, `base`1 … `base`9 a write may use for a file of its own.
// `inTheWay(path, blocked)` looks at one name: it sets `blocked` when something other than a
// file (a folder) holds the name, and returns an error when it cannot tell. With every name
// blocked: kErrorAccessDenied, naming `shownBase`.
template <typename Path, typename Look>
int PickHelperPath(const Path& base, Path& path, Look inTheWay, const std::string& shownBase) {
    for (int number = 0; number < kHelperNames; ++number) {
        path = base;
        if (number > 0) path += static_cast<typename Path::value_type>('0' + number);
        bool blocked = false;
        if (const int error = inTheWay(path, blocked)) return error;
        if (!blocked) return 0;
    }
    return RecordFailure(kErrorAccessDenied, FileProblem::HelperInTheWay, shownBase);
}

// Whether the test hook asks this call to fail; sets errno to the injected error when it does.
bool Faulted(FileFault fault);

// What a write that rewrites a file in place records under the state folder, named after the
// file's identity, before it touches the file: where the whole old contents are, and what the
// file holds once the write has finished.
struct PendingRecord {
    std::string copy;
    std::uint64_t newSize = 0;
    std::string newHash;
};
std::string RecordText(const PendingRecord& record);
std::optional<PendingRecord> ParseRecord(std::string_view text);
// A stable 64-bit FNV-1a hash, in 16 hex digits.
std::string HashText(std::string_view bytes);
// A file's identity as a name ("device-inode" in hex).
std::string IdentityName(std::uint64_t device, std::uint64_t inode);
// The record's file name for a file of this identity.
std::string RecordNameOf(std::uint64_t device, std::uint64_t inode);

// What a copy left by an in-place rewrite says about the file that now holds `current`.
enum class LeftCopy {
    NotBegun,     // the file still holds what the copy saved
    Finished,     // the file holds what the write meant to leave
    Interrupted,  // anything else: the copy may be the only whole version
};
LeftCopy JudgeLeftCopy(const std::string& copy, const std::optional<PendingRecord>& record, const std::string& current);

}  // namespace morvane::platform
