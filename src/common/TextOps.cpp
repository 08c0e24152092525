#include "common/TextOps.h"

namespace morvane {

Split SplitAtFirst(std::string_view text, char mark) {
    const std::size_t at = text.find(mark);
    if (at == std::string_view::npos) return {text, {}, false};
    return {text.substr(0, at), text.substr(at + 1), true};
}

Split SplitAtFirst(std::string_view text, std::string_view mark) {
    const std::size_t at = text.find(mark);
    if (at == std::string_view::npos) return {text, {}, false};
    return {text.substr(0, at), text.substr(at + mark.size()), true};
}

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = ToLowerAscii(c);
    return lower;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(ToLowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(ToLowerAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareNoCase(a, b) == 0; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::int64_t ReadDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsWhiteSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    std::uint64_t value = 0;
    while (at < text.size() && IsDigit(text[at])) {
        value = value * 10u + static_cast<std::uint64_t>(text[at] - '0');
        ++at;
    }
    if (negative) value = ~value + 1u;
    return static_cast<std::int64_t>(value);
}

std::int16_t LowSigned16(std::int64_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(value) & 0xFFFFu));
}

std::uint16_t LowUnsigned16(std::int64_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint64_t>(value) & 0xFFFFu);
}

}  // namespace morvane
