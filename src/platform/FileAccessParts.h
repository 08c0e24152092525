#pragma once

#include <cstdint>
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

// Counts one whole-file read (see FileReadCount).
void CountFileRead();
// Records this thread's failure (see LastFileFailure) and returns its error number.
int RecordFailure(int error, FileProblem problem, std::string where = {});
// Forgets the last failure (a success); a warning may be recorded after it.
void ClearFailure();
// Makes sure the last failure has `error` as its number: a failure of another number recorded
// on the way (one the write recovered from) gives way to a bare one.
int SettleFailure(int error);

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
