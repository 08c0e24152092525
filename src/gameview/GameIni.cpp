#include "gameview/GameIni.h"

#include <algorithm>

#include "common/TextOps.h"

namespace morvane::gameview {
namespace {

// The game trims key and value of blanks and tabs only.
std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

GameIni::GameIni(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        const std::string_view first = Trim(SplitAtFirst(bytes.substr(3), '\n').before);
        m_byteOrderMark = !first.empty() && first.front() == '[';
    }
    std::size_t at = 0;
    std::size_t number = 0;
    std::string kept;
    std::size_t feeds = 0;
    for (std::size_t found = bytes.find('\n'); found != std::string_view::npos; found = bytes.find('\n', found + 1))
        ++feeds;
    m_lines.reserve(feeds + 1);
    while (at < bytes.size()) {
        const std::size_t feed = bytes.find('\n', at);
        const std::size_t end = feed == std::string_view::npos ? bytes.size() : feed;
        const std::string_view raw = bytes.substr(at, end - at);
        at = feed == std::string_view::npos ? bytes.size() : feed + 1;

        GameLine& line = m_lines.emplace_back();
        line.number = ++number;
        line.lost = feed == std::string_view::npos;
        // Returns are dropped; one with text after it joins two lines the writer meant apart.
        // Most lines have none, or only at their end: those are read where they are.
        std::string_view text = raw;
        const std::size_t firstReturn = raw.find('\r');
        if (firstReturn != std::string_view::npos) {
            if (raw.find_first_not_of('\r', firstReturn) == std::string_view::npos) {
                text = raw.substr(0, firstReturn);
            } else {
                kept.clear();
                for (std::size_t i = 0; i < raw.size(); ++i) {
                    if (raw[i] != '\r') {
                        kept += raw[i];
                        line.strayReturn = line.strayReturn || (i > 0 && raw[i - 1] == '\r');
                    }
                }
                text = kept;
            }
        }
        line.length = text.size();
        if (text.size() > kGameLineLimit) {
            // The cut matters when it loses text before any note: not only blanks.
            const std::string_view lost = text.substr(kGameLineLimit);
            const bool losesText = !Trim(SplitAtFirst(lost, ';').before).empty();
            text = text.substr(0, kGameLineLimit);
            line.cutBeforeNote = losesText && text.find(';') == std::string_view::npos;
            line.cutInNote = text.find(';') != std::string_view::npos;
        }
        text = Trim(text);

        const std::size_t close = !text.empty() && text.front() == '[' ? text.find(']') : std::string_view::npos;
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.header = std::string(TrimBlanks(text.substr(1, close - 1)));
            line.afterHeader = std::string(Trim(text.substr(close + 1)));
            line.section = m_sections.size();
            if (!line.lost) m_sections.push_back({line.header, line.number, {}});
            continue;
        }
        line.brokenHeader = !text.empty() && text.front() == '[';
        const std::string_view entry = Trim(SplitAtFirst(text, ';').before);
        if (entry.empty()) {
            line.kind = LineKind::Blank;
        } else if (m_sections.empty()) {
            line.kind = LineKind::BeforeSections;
        } else {
            line.section = m_sections.size() - 1;
            const Split split = SplitAtFirst(entry, '=');
            const std::string_view key = TrimBlanks(split.before);
            const std::string_view value = TrimBlanks(split.after);
            line.key = std::string(key);
            if (!split.found || key.empty()) {
                line.kind = LineKind::NoEquals;
            } else if (value.empty()) {
                line.kind = LineKind::EmptyValue;
            } else {
                line.kind = LineKind::Entry;
                line.value = std::string(value);
            }
        }
    }

    // The sections' entries, each list made at its size.
    std::vector<std::size_t> counts(m_sections.size(), 0);
    for (const GameLine& line : m_lines)
        if (line.kind == LineKind::Entry && !line.lost) ++counts[line.section];
    for (std::size_t index = 0; index < m_sections.size(); ++index) m_sections[index].entries.reserve(counts[index]);
    for (const GameLine& line : m_lines)
        if (line.kind == LineKind::Entry && !line.lost)
            m_sections[line.section].entries.push_back({line.key, line.value, line.number});

    for (std::size_t index = 0; index < m_sections.size(); ++index)
        if (!m_sections[index].entries.empty()) m_byName.push_back(index);
    std::stable_sort(m_byName.begin(), m_byName.end(),
                     [this](std::size_t a, std::size_t b) { return m_sections[a].name < m_sections[b].name; });
}

const GameSection* GameIni::FirstSectionWithEntries(std::string_view section) const {
    const auto found = std::lower_bound(
        m_byName.begin(), m_byName.end(), section,
        [this](std::size_t at, std::string_view name) { return std::string_view(m_sections[at].name) < name; });
    return found != m_byName.end() && m_sections[*found].name == section ? &m_sections[*found] : nullptr;
}

const GameEntry* GameIni::Find(std::string_view section, std::string_view key) const {
    const GameSection* found = FirstSectionWithEntries(section);
    if (found == nullptr) return nullptr;
    for (const GameEntry& entry : found->entries)
        if (entry.key == key) return &entry;
    return nullptr;
}

bool GameIni::HasSection(std::string_view section) const { return FirstSectionWithEntries(section) != nullptr; }

}  // namespace morvane::gameview
