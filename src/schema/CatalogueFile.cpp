#include "schema/CatalogueFile.h"

#include <optional>

#include "common/TextOps.h"
#include "platform/FileAccess.h"
#include "schema/EmbeddedCatalogue.h"

namespace morvane {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = ToLowerAscii(c);
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
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
            return std::string("unknown escape \\") + kind + " (use \\n, \\t, \\\\ or \\xHH)";
        }
    }
    return std::nullopt;
}

std::optional<CatalogueError> ParseLine(StringTable& table, std::string_view line, std::size_t number) {
    const Split fields = SplitAtFirst(line, '\t');
    if (!fields.found) return CatalogueError{number, "expected an id, a TAB and the text"};
    const std::string_view id = fields.before;
    if (id.empty() || id.size() > 5 || id.find_first_not_of("0123456789") != std::string_view::npos)
        return CatalogueError{number, "the id \"" + std::string(id) + "\" is not a number from 1 to 65535"};
    const std::int64_t value = ReadDecimal(id);
    if (value < 1 || value > 65535)
        return CatalogueError{number, "the id " + std::string(id) + " is not a number from 1 to 65535"};
    std::string text;
    if (auto problem = Unescape(fields.after, text)) return CatalogueError{number, *problem};
    if (text.empty()) return CatalogueError{number, "the entry " + std::string(id) + " has no text"};
    if (!table.Add(static_cast<std::uint16_t>(value), std::move(text)))
        return CatalogueError{number, "the id " + std::string(id) + " is given twice"};
    return std::nullopt;
}

}  // namespace

std::variant<StringTable, CatalogueError> ParseCatalogue(std::string_view content) {
    StringTable table;
    std::size_t number = 0;
    while (!content.empty()) {
        ++number;
        const Split split = SplitAtFirst(content, '\n');
        std::string_view line = split.before;
        content = split.found ? split.after : std::string_view();
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // a file saved with CR LF
        if (line.empty() || line.front() == '#') continue;
        if (auto error = ParseLine(table, line, number)) return *error;
    }
    return table;
}

std::variant<StringTable, CatalogueError> LoadCatalogueFile(const std::string& path) {
    // The safe read: a pipe or a device given as the catalogue is refused, never waited on.
    const auto content = platform::ReadRegularFile(path);
    if (!content.bytes) return CatalogueError{0, "cannot be read: " + platform::DescribeFileError(content.error, path)};
    return ParseCatalogue(*content.bytes);
}

const StringTable& BuiltInCatalogue() {
    static const StringTable table = [] {
        auto parsed = ParseCatalogue(std::string_view(kEmbeddedCatalogue, kEmbeddedCatalogueSize));
        // The built-in file is checked by the tests; a broken one gives an empty table.
        return parsed.index() == 0 ? std::get<0>(std::move(parsed)) : StringTable{};
    }();
    return table;
}

std::string DescribeCatalogueError(const std::string& path, const CatalogueError& error) {
    if (error.line == 0) return path + ": " + error.message;
    return path + ":" + std::to_string(error.line) + ": " + error.message;
}

}  // namespace morvane
