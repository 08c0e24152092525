#include "CatalogueSyntax.h"

namespace morvane::catalogue_syntax {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes the escapes of one entry's text into `out`; on a broken escape, returns what is wrong.
std::optional<std::string> Unescape(std::string_view text, std::string& out) {
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (i + 1 >= text.size()) return std::string("a backslash ends the line (write \\\\ for a backslash)");
        const char kind = text[++i];
        if (kind == 'n') {
            out += '\n';
        } else if (kind == 't') {
            out += '\t';
        } else if (kind == '\\') {
            out += '\\';
        } else if (kind == 'x') {
            const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0) return std::string("\\x must be followed by two hexadecimal digits");
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            return std::string(R"(unknown escape \)") + kind + R"( (use \n, \t, \\ or \xHH))";
        }
    }
    return std::nullopt;
}

std::optional<std::string> ReadLine(std::string_view line,
                                    const std::function<bool(std::uint16_t, std::string&&)>& add) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::string("expected an id, a TAB and the text");
    const std::string_view id = line.substr(0, tab);
    if (id.empty() || id.size() > 5 || id.find_first_not_of("0123456789") != std::string_view::npos)
        return "the id \"" + std::string(id) + "\" is not a number from 1 to 65535";
    std::uint32_t value = 0;
    for (const char digit : id) value = value * 10 + static_cast<std::uint32_t>(digit - '0');
    if (value < 1 || value > 65535) return "the id " + std::string(id) + " is not a number from 1 to 65535";
    std::string text;
    if (auto problem = Unescape(line.substr(tab + 1), text)) return problem;
    if (text.empty()) return "the entry " + std::string(id) + " has no text";
    if (!add(static_cast<std::uint16_t>(value), std::move(text)))
        return "the id " + std::string(id) + " is given twice";
    return std::nullopt;
}

}  // namespace

std::optional<LineError> ReadEntries(std::string_view content,
                                     const std::function<bool(std::uint16_t id, std::string&& text)>& add) {
    std::size_t number = 0;
    while (!content.empty()) {
        ++number;
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // a file saved with CR LF
        if (line.empty() || line.front() == '#') continue;
        if (auto problem = ReadLine(line, add)) return LineError{number, std::move(*problem)};
    }
    return std::nullopt;
}

}  // namespace morvane::catalogue_syntax
