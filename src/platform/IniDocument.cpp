#include "platform/IniDocument.h"

#include "common/TextOps.h"

namespace morvane::platform {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::size_t SkipWhiteSpace(std::string_view text, std::size_t at, std::size_t end) {
    while (at < end && IsWhiteSpace(text[at])) ++at;
    return at;
}

}  // namespace

IniDocument::IniDocument(std::string bytes) : m_bytes(std::move(bytes)) {
    const std::string_view text(m_bytes);
    std::size_t at = text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    while (at < text.size()) {
        Line line{at, at, at};
        while (line.end < text.size() && text[line.end] != '\r' && text[line.end] != '\n') ++line.end;
        line.next = line.end;
        if (line.next < text.size() && text[line.next] == '\r') ++line.next;
        if (line.next < text.size() && text[line.next] == '\n' &&
            (line.next == line.end || text[line.next - 1] == '\r'))
            ++line.next;
        m_lines.push_back(line);
        at = line.next;
    }

    for (std::size_t index = 0; index < m_lines.size(); ++index) {
        const Line& line = m_lines[index];
        const std::size_t first = SkipWhiteSpace(text, line.start, line.end);
        if (first >= line.end) continue;
        if (text[first] == '[') {
            const std::string_view rest = text.substr(first + 1, line.end - first - 1);
            const std::string_view name = Trim(SplitAtFirst(rest, ']').before);
            m_sectionIndex.emplace(ToLowerAscii(name), m_sections.size());
            m_sections.push_back({name, index, {}});
            continue;
        }
        if (m_sections.empty() || text[first] == ';') continue;
        const std::size_t equals = text.find('=', first);
        if (equals == std::string_view::npos || equals >= line.end) continue;
        Key key;
        key.name = Trim(text.substr(first, equals - first));
        key.line = index;
        key.valueStart = SkipWhiteSpace(text, equals + 1, line.end);
        key.valueEnd = line.end;
        while (key.valueEnd > key.valueStart && IsWhiteSpace(text[key.valueEnd - 1])) --key.valueEnd;
        m_sections.back().keys.push_back(key);
    }
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
    const auto found = m_sectionIndex.find(ToLowerAscii(name));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

const IniDocument::Key* IniDocument::FindKey(const Section& section, std::string_view name) {
    for (const Key& key : section.keys)
        if (EqualsNoCase(key.name, name)) return &key;
    return nullptr;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(Trim(section));
    if (found == nullptr) return std::nullopt;
    const Key* entry = FindKey(*found, Trim(key));
    if (entry == nullptr) return std::nullopt;
    return std::string_view(m_bytes).substr(entry->valueStart, entry->valueEnd - entry->valueStart);
}

std::string IniDocument::LineEnding() const {
    for (const Line& line : m_lines)
        if (line.next > line.end) return m_bytes.substr(line.end, line.next - line.end);
    return "\r\n";  // the game is a Windows game
}

std::string IniDocument::ReplaceValue(const Key& key, std::string_view value) const {
    const Line& line = m_lines[key.line];
    const std::string_view text(m_bytes);
    const std::size_t comment = text.substr(key.valueStart, line.end - key.valueStart).find(';');

    std::string edited = m_bytes.substr(0, key.valueStart);
    edited += value;
    if (comment != std::string_view::npos) {
        // Keep the modder's note: the ";" stays in its column where the new value leaves room.
        const std::size_t semicolon = key.valueStart + comment;
        const std::size_t room = semicolon - key.valueStart;
        // At least one blank between a value and its note; an empty value adds none, so that
        // writing it again changes nothing.
        const std::size_t padding = value.size() < room ? room - value.size() : (value.empty() ? 0 : 1);
        edited.append(padding, ' ');
        edited += text.substr(semicolon, line.end - semicolon);
    }
    edited += text.substr(line.end);
    return edited;
}

std::string IniDocument::InsertAfterLine(std::size_t lineIndex, const std::string& text) const {
    const Line& line = m_lines[lineIndex];
    // The new line ends as the line before it does: a lone CR there is never followed by an LF,
    // so the new ending cannot merge with the next line's.
    if (line.next > line.end)
        return m_bytes.substr(0, line.next) + text + m_bytes.substr(line.end, line.next - line.end) +
               m_bytes.substr(line.next);
    // The last line of a file without a final line break.
    return m_bytes + LineEnding() + text;
}

std::string IniDocument::WithValue(std::string_view section, std::string_view key, std::string_view value) const {
    const Section* found = FindSection(Trim(section));
    const std::string newLine = std::string(key) + "=" + std::string(value);
    if (found != nullptr) {
        if (const Key* entry = FindKey(*found, Trim(key))) return ReplaceValue(*entry, value);
        const std::size_t after = found->keys.empty() ? found->headerLine : found->keys.back().line;
        return InsertAfterLine(after, newLine);
    }

    const std::string ending = LineEnding();
    std::string edited = m_bytes;
    if (!m_lines.empty()) {
        const Line& last = m_lines.back();
        if (last.next == last.end) {
            edited += ending;
            edited += ending;
        } else {
            // The blank line ends as the last line does, so that a final lone CR stays one.
            edited += m_bytes.substr(last.end, last.next - last.end);
        }
    }
    edited += '[';
    edited += section;
    edited += ']';
    edited += ending;
    edited += newLine;
    edited += ending;
    return edited;
}

}  // namespace morvane::platform
