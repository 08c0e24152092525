#include "platform/ProfileApi.h"

#include <vector>

#include "common/TextOps.h"
#include "platform/FileAccess.h"
#include "platform/IniDocument.h"

namespace morvane::platform {
namespace {

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A key that would read back as something else: a comment, a section header, or split at "=".
bool IsStorableKey(std::string_view key) {
    const std::string_view trimmed = Trim(key);
    return !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '[' &&
           key.find('=') == std::string_view::npos && !HasLineBreak(key);
}

}  // namespace

bool IsStorable(const ProfileWrite& write) {
    return !Trim(write.section).empty() && !HasLineBreak(write.section) &&
           write.section.find(']') == std::string::npos && IsStorableKey(write.key) && !HasLineBreak(write.value) &&
           write.value.find(';') == std::string::npos;
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::string(defaultValue);
    const IniDocument document(std::move(*bytes));
    const auto value = document.Find(section, key);
    return std::string(value ? *value : defaultValue);
}

int WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                              const std::string& path) {
    const ProfileWrite write{std::string(section), std::string(key), std::string(value)};
    return WritePrivateProfileStrings(std::span<const ProfileWrite>(&write, 1), path);
}

int WritePrivateProfileStrings(std::span<const ProfileWrite> writes, const std::string& path, FileIdentity* written,
                               const GameWrite* forTheGame) {
    for (const ProfileWrite& write : writes)
        if (!IsStorable(write)) return kErrorInvalidParameter;
    if (writes.empty()) return 0;

    std::vector<IniDocument::Edit> edits;
    edits.reserve(writes.size());
    for (const ProfileWrite& write : writes) edits.push_back({write.section, write.key, write.value});
    // Always edit what is on disk now, not what an earlier read saw.
    return EditFile(
        path,
        [&](const std::optional<std::string>& current, std::string& replacement) {
            const IniDocument document(current.value_or(""));
            if (forTheGame == nullptr) {
                replacement = document.WithValues(edits);
            } else {
                std::vector<IniDocument::CutLine> cut;
                replacement = document.WithValuesForTheGame(edits, &cut);
                if (forTheGame->cutLines != nullptr) *forTheGame->cutLines = cut;
                if (!cut.empty() && !forTheGame->force) return kErrorLineTooLong;
            }
            return 0;
        },
        written);
}

}  // namespace morvane::platform
