#pragma once

#include <string>

// Copies of rules files that never cost the user a file: backups that keep their own names,
// and the name and target of a new rules file.
namespace morvane::gamesetup {

// What backing up a file did.
struct BackupResult {
    int error = 0;           // 0, or the error number of the failing read or write
    std::string backupPath;  // where the old contents are kept (empty when the file did not exist)
    bool made = false;       // false when an earlier backup already holds exactly these bytes
};

// Keeps the bytes of `path` under a name of their own beside it: "<path>.bak" when that name is
// free, else the first free "<path>.N.bak" (N from 2). An existing backup is never replaced, so
// the first one (usually the game's original file) stays for good. When one of the existing
// backups already holds the same bytes, no new copy is made and that backup is named.
BackupResult BackUpFile(const std::string& path);

// The name File > New proposes in `folder`: "rules.ini" when no file of that name exists there
// (in any letter case, as the game's file system sees names), else the first free "rules-N.ini".
std::string ProposeNewRulesPath(const std::string& folder);

// Where File > New may write.
enum class NewFileTarget {
    Free,      // nothing there yet
    Existing,  // another rules file: ask, and back it up before replacing it
    OpenFile,  // the file being edited (under any name or link): never
    NotAFile,  // a folder, a device, a pipe: never
};
NewFileTarget ClassifyNewFileTarget(const std::string& chosen, const std::string& openPath);

// Writes `bytes` as a new rules file at `path`. An existing file there is first kept by
// BackUpFile (reported in `backup`); when that fails nothing is replaced. Refuses the open file.
int CreateRulesFile(const std::string& path, const std::string& openPath, const std::string& bytes,
                    BackupResult& backup);

}  // namespace morvane::gamesetup
