#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Small text operations on 8-bit strings. Rules files and the catalogue are bytes, so
// case folding here is ASCII only: every other byte compares as itself.
namespace morvane {

// Blank, tab, carriage return, line feed, vertical tab and form feed.
inline bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
// "0" to "9" only, whatever the locale.
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Inline: the parsers trim every line of a file several times.
inline std::string_view TrimLeft(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsWhiteSpace(text[start])) ++start;
    return text.substr(start);
}
inline std::string_view TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsWhiteSpace(text[end - 1])) --end;
    return text.substr(0, end);
}
inline std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

// The text before / after the first occurrence of `mark`; `found` tells whether it occurs.
struct Split {
    std::string_view before;
    std::string_view after;
    bool found = false;
};
Split SplitAtFirst(std::string_view text, char mark);
Split SplitAtFirst(std::string_view text, std::string_view mark);

char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// Ordering without regard to ASCII case: negative, zero or positive.
int CompareNoCase(std::string_view a, std::string_view b);

// Reads a decimal integer the way C's atoi does: leading white space skipped, an optional
// sign, digits up to the first other character; no digits give 0. Never fails; a number too
// large for 64 bits wraps, so its low bits stay right.
std::int64_t ReadDecimal(std::string_view text);

// The low 16 bits of a number, as a signed or unsigned 16-bit value.
std::int16_t LowSigned16(std::int64_t value);
std::uint16_t LowUnsigned16(std::int64_t value);

}  // namespace morvane
