#include "gamesetup/RulesFileCopies.h"

#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/FolderListing.h"

namespace morvane::gamesetup {
namespace {

std::string BackupName(const std::string& path, int number) {
    return number == 1 ? path + ".bak" : path + "." + std::to_string(number) + ".bak";
}

bool NameTaken(const std::string& path) { return platform::FindFileNoCase(path).has_value(); }

}  // namespace

BackupResult BackUpFile(const std::string& path) {
    BackupResult result;
    const platform::FileReadResult current = platform::ReadRegularFile(path);
    if (!current.bytes) {
        // Nothing to keep when there is no file; anything else that cannot be read is an error.
        if (!platform::FindFileNoCase(path)) return result;
        result.error = current.error != 0 ? current.error : platform::kErrorPathNotFound;
        return result;
    }
    for (int number = 1;; ++number) {
        const std::string candidate = BackupName(path, number);
        if (!NameTaken(candidate)) {
            result.backupPath = candidate;
            result.error = platform::ReplaceFileAtomically(candidate, *current.bytes);
            result.made = result.error == 0;
            return result;
        }
        if (platform::ReadFileBytes(candidate) == current.bytes) {
            result.backupPath = candidate;
            return result;
        }
    }
}

std::string ProposeNewRulesPath(const std::string& folder) {
    std::string first = platform::JoinPath(folder, "rules.ini");
    if (!NameTaken(first)) return first;
    for (int number = 2;; ++number) {
        std::string candidate = platform::JoinPath(folder, "rules-" + std::to_string(number) + ".ini");
        if (!NameTaken(candidate)) return candidate;
    }
}

NewFileTarget ClassifyNewFileTarget(const std::string& chosen, const std::string& openPath) {
    if (platform::IsSameFile(chosen, openPath)) return NewFileTarget::OpenFile;
    if (platform::IsRegularFile(chosen)) return NewFileTarget::Existing;
    if (platform::FindFileNoCase(chosen) == chosen) return NewFileTarget::NotAFile;
    return NewFileTarget::Free;
}

int CreateRulesFile(const std::string& path, const std::string& openPath, const std::string& bytes,
                    BackupResult& backup) {
    switch (ClassifyNewFileTarget(path, openPath)) {
        case NewFileTarget::OpenFile:
            return platform::kErrorAccessDenied;
        case NewFileTarget::NotAFile:
            return platform::kErrorNotRegularFile;
        case NewFileTarget::Existing:
            backup = BackUpFile(path);
            if (backup.error != 0) return backup.error;
            break;
        case NewFileTarget::Free:
            break;
    }
    return platform::ReplaceFileAtomically(path, bytes);
}

}  // namespace morvane::gamesetup
