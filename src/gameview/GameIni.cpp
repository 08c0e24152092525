#include "gameview/GameIni.h"

#include <algorithm>

#include "common/TextOps.h"

namespace morvane::gameview {
namespace {

// The game trims key and value of blanks and tabs only.
inline std::string_view TrimBlanks(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    std::size_t end = text.size();
    while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(start, end - start);
}

// `text` up to its first `mark`, and whether it has one.
inline std::string_view BeforeFirst(std::string_view text, char mark, std::size_t& at) {
    at = text.find(mark);
    return at == std::string_view::npos ? text : text.substr(0, at);
}

}  // namespace

GameIni::GameIni(std::string_view source) {
    // The bytes are copied once; every text below is a view into them (or into `rebuilt`), held
    // on the heap: it stays where it is when the GameIni moves, and copies share it.
    auto owned = std::make_shared<Text>();
    owned->bytes.assign(source);
    const std::string_view bytes = owned->bytes;
    std::string& rebuilt = owned->rebuilt;
    bool rebuiltReserved = false;

    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        const std::string_view first = Trim(SplitAtFirst(bytes.substr(3), '\n').before);
        m_byteOrderMark = !first.empty() && first.front() == '[';
    }
    std::size_t at = 0;
    std::size_t number = 0;
    std::size_t feeds = 0;
    for (std::size_t found = bytes.find('\n'); found != std::string_view::npos; found = bytes.find('\n', found + 1))
        ++feeds;
    m_lines.reserve(feeds + 1);
    std::size_t entryCount = 0;
    while (at < bytes.size()) {
        const std::size_t feed = bytes.find('\n', at);
        const std::size_t end = feed == std::string_view::npos ? bytes.size() : feed;
        const std::string_view raw = bytes.substr(at, end - at);
        const std::size_t rest = bytes.size() - at;
        at = feed == std::string_view::npos ? bytes.size() : feed + 1;

        GameLine& line = m_lines.emplace_back();
        line.number = ++number;
        line.lost = feed == std::string_view::npos;
        // Returns are dropped; one with text after it joins two lines the writer meant apart.
        // Most lines have none, or only at their end: those are read where they are.
        std::string_view text = raw;
        std::size_t firstReturn = raw.size();
        while (firstReturn > 0 && raw[firstReturn - 1] == '\r') --firstReturn;
        text = raw.substr(0, firstReturn);
        if (text.find('\r') != std::string_view::npos) {
            if (!rebuiltReserved) {
                // No line rebuilt from here on is longer than its raw text: with room for the rest
                // of the file, `rebuilt` never reallocates and the views into it stay valid.
                rebuilt.reserve(rest);
                rebuiltReserved = true;
            }
            const std::size_t from = rebuilt.size();
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] != '\r') {
                    rebuilt += text[i];
                    line.strayReturn = line.strayReturn || (i > 0 && text[i - 1] == '\r');
                }
            }
            text = std::string_view(rebuilt).substr(from);
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

        if (!text.empty() && text.front() == '[') {
            const std::size_t close = text.find(']');
            if (close != std::string_view::npos) {
                line.kind = LineKind::Section;
                line.header = TrimBlanks(text.substr(1, close - 1));
                line.afterHeader = Trim(text.substr(close + 1));
                line.section = m_sections.size();
                if (!line.lost) m_sections.push_back({line.header, line.number, {}});
                continue;
            }
            line.brokenHeader = true;
        }
        std::size_t note = 0;
        const std::string_view entry = Trim(BeforeFirst(text, ';', note));
        if (entry.empty()) {
            line.kind = LineKind::Blank;
        } else if (m_sections.empty()) {
            line.kind = LineKind::BeforeSections;
        } else {
            line.section = m_sections.size() - 1;
            std::size_t equals = 0;
            const std::string_view key = TrimBlanks(BeforeFirst(entry, '=', equals));
            line.key = key;
            if (equals == std::string_view::npos || key.empty()) {
                line.kind = LineKind::NoEquals;
            } else if (const std::string_view value = TrimBlanks(entry.substr(equals + 1)); value.empty()) {
                line.kind = LineKind::EmptyValue;
            } else {
                line.kind = LineKind::Entry;
                line.value = value;
                if (!line.lost) ++entryCount;
            }
        }
    }

    // The sections' entries, one after the other in one list, each section's in file order.
    std::vector<std::size_t> firsts(m_sections.size() + 1, 0);
    for (const GameLine& line : m_lines)
        if (line.kind == LineKind::Entry && !line.lost) ++firsts[line.section + 1];
    for (std::size_t index = 1; index < firsts.size(); ++index) firsts[index] += firsts[index - 1];
    std::vector<GameEntry>& entries = owned->entries;
    entries.resize(entryCount);
    std::vector<std::size_t> next(firsts.begin(), firsts.end() - 1);
    for (const GameLine& line : m_lines)
        if (line.kind == LineKind::Entry && !line.lost)
            entries[next[line.section]++] = {line.key, line.value, line.number};
    for (std::size_t index = 0; index < m_sections.size(); ++index)
        m_sections[index].entries =
            std::span<const GameEntry>(entries.data() + firsts[index], firsts[index + 1] - firsts[index]);

    for (std::size_t index = 0; index < m_sections.size(); ++index)
        if (!m_sections[index].entries.empty()) m_byName.push_back(index);
    std::stable_sort(m_byName.begin(), m_byName.end(),
                     [this](std::size_t a, std::size_t b) { return m_sections[a].name < m_sections[b].name; });
    m_text = std::move(owned);
}

const GameSection* GameIni::FirstSectionWithEntries(std::string_view section) const {
    const auto found =
        std::lower_bound(m_byName.begin(), m_byName.end(), section,
                         [this](std::size_t at, std::string_view name) { return m_sections[at].name < name; });
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
