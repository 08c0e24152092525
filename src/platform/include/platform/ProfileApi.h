#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileAccess.h"
#include "platform/IniDocument.h"

// Reading and writing one value of an INI file, with the semantics of the Windows profile
// functions the game's own tools use. Each call reads the file anew and holds nothing between
// calls; a program that keeps a file open holds a RulesDocument instead.
namespace morvane::platform {

// The value of the key, trimmed, or `defaultValue` when the file, the section or the key is
// missing. An inline comment after the value is part of what is returned.
std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::string& path);

// Sets the key to the value; 0 on success, else a Windows error number and the file unchanged.
// A name or value that would not read back as written (a line break anywhere, a "]" in the
// section, an "=" in the key, a key starting with ";" or "[", a ";" in the value, which would
// read back as the start of a note, an empty name) is refused with 87, the invalid-parameter
// number.
int WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                              const std::string& path);

inline constexpr int kErrorInvalidParameter = 87;

struct ProfileWrite {
    std::string section;
    std::string key;
    std::string value;
};

// Whether the write would read back as written (see WritePrivateProfileString).
bool IsStorable(const ProfileWrite& write);

// Every write in one go: one locked read, one parse, one replace of the file (Match All sets a
// key in many sections). 0, or an error number and the file unchanged; when any write would be
// refused with 87 by WritePrivateProfileString, none is made. Writing nothing changes nothing.
// On success `written`, when given, gets the identity the write left the file with (see
// EditFile), so that a caller watching the file can tell its own write from another's.
//
// With `forTheGame`, the file is edited as IniDocument::WithValuesForTheGame() does, so that the
// game reads what was written; a write that would leave a line the game cuts short is refused
// with kErrorLineTooLong (the cut lines listed in `cutLines`, when given) unless `force`.
struct GameWrite {
    bool force = false;
    std::vector<IniDocument::CutLine>* cutLines = nullptr;
};
int WritePrivateProfileStrings(std::span<const ProfileWrite> writes, const std::string& path,
                               FileIdentity* written = nullptr, const GameWrite* forTheGame = nullptr);

// This program's own error number: a line the game would cut at 127 characters.
inline constexpr int kErrorLineTooLong = 224;

}  // namespace morvane::platform
