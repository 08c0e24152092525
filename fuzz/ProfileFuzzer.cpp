// libFuzzer target for the rules-file reader and writer (IniDocument), in memory.
//
// Input: the file's bytes, then optionally "\0SECTION\0KEY\0VALUE". The last three NUL bytes
// split the trailer off, so the file itself may hold NULs and the names may not. Without three
// NULs the whole input is the file and the name and value are fixed ones.
//
// Every input is read and written once (crashes and memory faults are what the sanitizers
// catch). When the write is one the profile API accepts and can read back, three properties are
// checked; a violation is named on stderr and stops the run with __builtin_trap():
//
//  1. Read back. A fresh document made from the written bytes finds the key in the section and
//     returns the value trimmed of white space (blank, tab, CR, LF, VT, FF) at both ends. When
//     the key was there before with an inline comment (a ";" in its old value), the comment is
//     kept: the new value is padded with blanks up to the column where the ";" was (at least
//     one blank), and what is read back is that whole text, trimmed.
//
//  2. Only its own line changes. Lines are split after CR LF, LF or a lone CR, each keeping its
//     ending (a byte order mark is just part of the first line). A line the writer adds ends
//     with an ending the file already uses (CR LF in a file without any). Then:
//       - key present: the same number of lines; at most the key's line differs, and it keeps
//         its ending and everything up to its "=" (the key's letter case may change to the
//         caller's spelling);
//       - section present, key missing: the old lines, unchanged and in order, with one line
//         KEY=VALUE put in after one of them; when the file's last line has no ending and the
//         new line goes after it, that line gains an ending and the new line, now last, has
//         none;
//       - section missing: the old lines (the last one gaining an ending if it had none), a
//         blank line when the file had any content besides a byte order mark, then [SECTION]
//         and KEY=VALUE.
//     An old line that is not in the new file unchanged means the write joined or split it,
//     for instance an added line's CR taken together with the LF of an empty line after it.
//
//  3. Writing the same value again changes nothing, for a value without white space at either
//     end (the editor always writes trimmed values) and without ";" (the second write would
//     take the value's own ";" for the start of the old inline comment).
//
// When these are checked (what WritePrivateProfileString accepts, and what reads back as
// written):
//  - no CR or LF in the section, the key or the value: they would start new lines;
//  - no "]" in the section: the header's name ends at the first "]";
//  - the key, trimmed, is not empty and starts with neither ";" (a comment line) nor "["
//    (a section header), and holds no "=" (the first "=" of a line ends its key);
//  - the section, trimmed, is not empty.
// Names may have white space around them and differ in case from the file: both the lookup and
// the parse of the written line trim names and compare them without regard to ASCII case, so
// these still read back. A ";" in the value is allowed: the document returns an inline comment
// as part of the value, so the value reads back in full.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextOps.h"
#include "platform/IniDocument.h"

namespace {

using morvane::platform::IniDocument;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct FuzzInput {
    std::string_view content;
    std::string_view section = "General";
    std::string_view key = "Strength";
    std::string_view value = "150";
};

FuzzInput SplitInput(std::string_view data) {
    FuzzInput input;
    input.content = data;
    std::size_t marks[3];
    std::size_t end = data.size();
    for (int found = 2; found >= 0; --found) {
        const std::size_t at = end == 0 ? std::string_view::npos : data.rfind('\0', end - 1);
        if (at == std::string_view::npos) return input;
        marks[found] = at;
        end = at;
    }
    input.content = data.substr(0, marks[0]);
    input.section = data.substr(marks[0] + 1, marks[1] - marks[0] - 1);
    input.key = data.substr(marks[1] + 1, marks[2] - marks[1] - 1);
    input.value = data.substr(marks[2] + 1);
    return input;
}

// Stops the run on a broken property, naming it (the trap alone would leave only a stack).
void Require(bool condition, const char* text, int line) {
    if (condition) return;
    std::fprintf(stderr, "ProfileFuzzer.cpp:%d: property broken: %s\n", line, text);
    __builtin_trap();
}
#define REQUIRE(condition) Require((condition), #condition, __LINE__)

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsStorable(const FuzzInput& input) {
    const std::string_view key = morvane::Trim(input.key);
    return !HasLineBreak(input.section) && !HasLineBreak(input.key) && !HasLineBreak(input.value) &&
           input.section.find(']') == std::string_view::npos && !morvane::Trim(input.section).empty() && !key.empty() &&
           key.front() != ';' && key.front() != '[' && input.key.find('=') == std::string_view::npos;
}

// The lines of a file, each with its ending.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        lines.push_back(text.substr(start, end + 1 - start));
        start = end + 1;
    }
    return lines;
}

std::string_view EndingOf(std::string_view line) {
    std::size_t body = line.size();
    while (body > 0 && (line[body - 1] == '\r' || line[body - 1] == '\n')) --body;
    return line.substr(body);
}

std::string_view BodyOf(std::string_view line) { return line.substr(0, line.size() - EndingOf(line).size()); }

// A line ending the writer may use for a line it adds: one the file already has, or CR LF in a
// file without any.
bool IsFileEnding(const std::vector<std::string_view>& lines, std::string_view ending) {
    bool any = false;
    for (std::string_view line : lines) {
        if (EndingOf(line).empty()) continue;
        if (EndingOf(line) == ending) return true;
        any = true;
    }
    return !any && ending == "\r\n";
}

// Whether some line of the file is a header naming the section, read independently of the
// document's own parse: first non-blank "[", name up to the first "]" (a line without "]" is
// no header, as for the game).
bool HasSection(const std::vector<std::string_view>& lines, std::string_view section) {
    for (std::size_t index = 0; index < lines.size(); ++index) {
        std::string_view body = BodyOf(lines[index]);
        if (index == 0 && body.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            body.remove_prefix(kByteOrderMark.size());
        body = morvane::TrimLeft(body);
        if (body.empty() || body.front() != '[') continue;
        const morvane::Split name = morvane::SplitAtFirst(body.substr(1), ']');
        if (!name.found) continue;
        if (morvane::EqualsNoCase(morvane::Trim(name.before), morvane::Trim(section))) return true;
    }
    return false;
}

void CheckReplacedLine(const std::vector<std::string_view>& before, const std::vector<std::string_view>& after) {
    REQUIRE(after.size() == before.size());
    std::size_t changed = 0;
    for (std::size_t index = 0; index < before.size(); ++index) {
        if (before[index] == after[index]) continue;
        ++changed;
        REQUIRE(EndingOf(after[index]) == EndingOf(before[index]));
        const std::size_t equals = before[index].find('=');
        REQUIRE(equals != std::string_view::npos);
        // The key may be respelled in the caller's letter case; nothing else before "=" moves.
        REQUIRE(morvane::EqualsNoCase(after[index].substr(0, equals + 1), before[index].substr(0, equals + 1)));
    }
    REQUIRE(changed <= 1);
}

// A line the writer added: the given text and a line ending the file uses.
bool IsAddedLine(const std::vector<std::string_view>& before, std::string_view line, std::string_view body) {
    return BodyOf(line) == body && IsFileEnding(before, EndingOf(line));
}

void CheckInsertedLine(const std::vector<std::string_view>& before, const std::vector<std::string_view>& after,
                       std::string_view newLine) {
    REQUIRE(after.size() == before.size() + 1);
    std::size_t at = 0;
    while (at < before.size() && before[at] == after[at]) ++at;
    if (at + 1 == before.size() && EndingOf(before[at]).empty() && BodyOf(after[at]) == before[at]) {
        // After a last line without an ending: that line gains one, the new line has none.
        REQUIRE(IsFileEnding(before, EndingOf(after[at])));
        REQUIRE(after[at + 1] == newLine);
        return;
    }
    REQUIRE(IsAddedLine(before, after[at], newLine));
    for (std::size_t index = at; index < before.size(); ++index) REQUIRE(after[index + 1] == before[index]);
}

void CheckAppendedSection(std::string_view content, const std::vector<std::string_view>& before,
                          const std::vector<std::string_view>& after, std::string_view section,
                          std::string_view newLine) {
    const std::string header = "[" + std::string(section) + "]";
    REQUIRE(after.size() >= 2);
    REQUIRE(IsAddedLine(before, after[after.size() - 1], newLine));
    if (content.empty() || content == kByteOrderMark) {
        REQUIRE(after.size() == 2);
        REQUIRE(IsAddedLine(before, after[0], std::string(content) + header));
        return;
    }
    REQUIRE(after.size() == before.size() + 3);
    for (std::size_t index = 0; index + 1 < before.size(); ++index) REQUIRE(after[index] == before[index]);
    const std::size_t last = before.size() - 1;
    if (EndingOf(before[last]).empty())
        REQUIRE(BodyOf(after[last]) == before[last] && IsFileEnding(before, EndingOf(after[last])));
    else
        REQUIRE(after[last] == before[last]);
    REQUIRE(IsAddedLine(before, after[last + 1], ""));
    REQUIRE(IsAddedLine(before, after[last + 2], header));
}

// What a read of the key returns after the write (see property 1).
std::string ExpectedReadBack(const std::optional<std::string_view>& old, std::string_view value) {
    std::string text(value);
    if (old) {
        const std::size_t semicolon = old->find(';');
        if (semicolon != std::string_view::npos) {
            text.append(value.size() < semicolon ? semicolon - value.size() : 1, ' ');
            text += old->substr(semicolon);
        }
    }
    return std::string(morvane::Trim(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput input = SplitInput(std::string_view(reinterpret_cast<const char*>(data), size));
    const IniDocument document{std::string(input.content)};
    const std::optional<std::string_view> old = document.Find(input.section, input.key);
    const std::string written = document.WithValue(input.section, input.key, input.value);
    const IniDocument reread(written);
    const std::optional<std::string_view> found = reread.Find(input.section, input.key);
    if (!IsStorable(input)) return 0;

    REQUIRE(found.has_value() && *found == ExpectedReadBack(old, input.value));

    const auto before = SplitLines(input.content);
    const auto after = SplitLines(written);
    const std::string newLine = std::string(input.key) + "=" + std::string(input.value);
    if (old)
        CheckReplacedLine(before, after);
    else if (HasSection(before, input.section))
        CheckInsertedLine(before, after, newLine);
    else
        CheckAppendedSection(input.content, before, after, input.section, newLine);

    const bool trimmed = morvane::Trim(input.value) == input.value;
    if (trimmed && input.value.find(';') == std::string_view::npos)
        REQUIRE(reread.WithValue(input.section, input.key, input.value) == written);
    return 0;
}
