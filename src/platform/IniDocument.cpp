#include "platform/IniDocument.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/TextOps.h"

namespace morvane::platform {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The game keeps at most this many characters of a line.
constexpr std::size_t kGameLineLength = 127;

std::size_t SkipWhiteSpace(std::string_view text, std::size_t at, std::size_t end) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (at < end && blank(text[at])) ++at;
    return at;
}

}  // namespace

IniDocument::IniDocument(std::string bytes) : IniDocument(std::make_shared<const std::string>(std::move(bytes))) {}

IniDocument::IniDocument(std::shared_ptr<const std::string> bytes) : m_held(std::move(bytes)), m_bytes(*m_held) {
    const std::string_view text(m_bytes);
    const char* const data = text.data();
    const std::size_t size = text.size();
    // Where the next byte `c` is at or after `from` and before `to`, or `to`.
    const auto next = [data](std::size_t from, std::size_t to, char c) {
        const void* found = from < to ? std::memchr(data + from, c, to - from) : nullptr;
        return found == nullptr ? to : static_cast<std::size_t>(static_cast<const char*>(found) - data);
    };
    std::size_t feeds = 0;
    for (std::size_t at = next(0, size, '\n'); at < size; at = next(at + 1, size, '\n')) ++feeds;
    m_lines.reserve(feeds + 1);

    std::size_t at = text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    m_needsGameFixes = at > 0;
    while (at < size) {
        // A line ends at its first carriage return or line feed, with CR LF, a lone CR or a lone LF.
        const std::size_t feed = next(at, size, '\n');
        Line line{at, next(at, feed, '\r'), 0};
        line.next = line.end;
        if (line.next < size && text[line.next] == '\r') ++line.next;
        if (line.next < size && text[line.next] == '\n') ++line.next;
        if (line.next == line.end + 1 && text[line.end] == '\r') m_needsGameFixes = true;
        m_lines.push_back(line);
        at = line.next;
    }

    for (std::size_t index = 0; index < m_lines.size(); ++index) {
        const Line& line = m_lines[index];
        const std::size_t first = SkipWhiteSpace(text, line.start, line.end);
        if (first >= line.end) continue;
        // A "[" without a "]" on its line starts no section: the game reads no header there.
        if (text[first] == '[' && text.substr(first, line.end - first).find(']') != std::string_view::npos) {
            const std::string_view rest = text.substr(first + 1, line.end - first - 1);
            const std::string_view name = Trim(SplitAtFirst(rest, ']').before);
            // Only the first section of a name is indexed: a later one makes no key.
            if (m_sectionIndex.find(name) == m_sectionIndex.end()) m_sectionIndex.emplace(name, m_sections.size());
            m_sections.push_back({name, index, {}});
            continue;
        }
        if (m_sections.empty() || text[first] == ';') continue;
        // Searched within the line: a note line without "=" must not scan the rest of the file.
        const std::size_t found = text.substr(first, line.end - first).find('=');
        if (found == std::string_view::npos) continue;
        const std::size_t equals = first + found;
        Key key;
        key.name = Trim(text.substr(first, equals - first));
        key.line = index;
        key.valueStart = SkipWhiteSpace(text, equals + 1, line.end);
        key.valueEnd = line.end;
        while (key.valueEnd > key.valueStart && IsWhiteSpace(text[key.valueEnd - 1])) --key.valueEnd;
        m_sections.back().keys.push_back(key);
    }
}

std::size_t IniDocument::NoCaseHash::operator()(std::string_view name) const {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the lower-case bytes
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(ToLowerAscii(c));
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

bool IniDocument::NoCaseEqual::operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
    const auto found = m_sectionIndex.find(name);
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

std::string_view IniDocument::TrimmedName(std::string_view name) { return Trim(name); }

const IniDocument::Key* IniDocument::FindKey(const Section& section, std::string_view name) {
    for (const Key& key : section.keys)
        if (EqualsNoCase(key.name, name)) return &key;
    return nullptr;
}

std::vector<const IniDocument::Section*> IniDocument::GameSections(std::string_view name) const {
    std::vector<const Section*> sections;
    for (const Section& section : m_sections)
        if (section.name == name) sections.push_back(&section);
    if (sections.empty())
        if (const Section* other = FindSection(name)) sections.push_back(other);
    return sections;
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

IniDocument::Splice IniDocument::ReplaceValue(const Key& key, std::string_view name, std::string_view value) const {
    const Line& line = m_lines[key.line];
    const std::string_view text(m_bytes);
    const std::size_t comment = text.substr(key.valueStart, line.end - key.valueStart).find(';');

    Splice splice{key.valueStart, line.end, std::string(value)};
    if (key.name != name) {
        // The same key in other letter case: the name is written as the caller spells it.
        splice.start = static_cast<std::size_t>(key.name.data() - m_bytes.data());
        splice.text = std::string(name);
        splice.text += text.substr(splice.start + key.name.size(), key.valueStart - splice.start - key.name.size());
        splice.text += value;
    }
    if (comment != std::string_view::npos) {
        // Keep the modder's note: the ";" stays in its column where the new value leaves room.
        const std::size_t semicolon = key.valueStart + comment;
        const std::size_t room = semicolon - key.valueStart;
        // At least one blank between a value and its note; an empty value adds none, so that
        // writing it again changes nothing.
        const std::size_t padding = value.size() < room ? room - value.size() : (value.empty() ? 0 : 1);
        splice.text.append(padding, ' ');
        splice.text += text.substr(semicolon, line.end - semicolon);
    }
    return splice;
}

IniDocument::Splice IniDocument::InsertAfterLine(std::size_t lineIndex, const std::vector<std::string>& lines) const {
    const Line& line = m_lines[lineIndex];
    Splice splice{line.next, line.next, {}};
    if (line.next > line.end) {
        // Each new line ends as the line before it does: a lone CR there is never followed by
        // an LF, so the new ending cannot merge with the next line's.
        const std::string_view ending = std::string_view(m_bytes).substr(line.end, line.next - line.end);
        for (const std::string& text : lines) {
            splice.text += text;
            splice.text += ending;
        }
        return splice;
    }
    // The last line of a file without a final line break.
    const std::string ending = LineEnding();
    for (const std::string& text : lines) {
        splice.text += ending;
        splice.text += text;
    }
    return splice;
}

std::string IniDocument::NewSections(
    const std::vector<std::pair<std::string_view, std::vector<std::string>>>& sections) const {
    std::string added;
    if (sections.empty()) return added;
    const std::string ending = LineEnding();
    if (!m_lines.empty()) {
        const Line& last = m_lines.back();
        if (last.next == last.end) {
            added += ending;
            added += ending;
        } else {
            // The blank line ends as the last line does, so that a final lone CR stays one.
            added += m_bytes.substr(last.end, last.next - last.end);
        }
    }
    for (std::size_t index = 0; index < sections.size(); ++index) {
        if (index > 0) added += ending;
        added += '[';
        added += sections[index].first;
        added += ']';
        added += ending;
        for (const std::string& line : sections[index].second) {
            added += line;
            added += ending;
        }
    }
    return added;
}

std::string IniDocument::WithValue(std::string_view section, std::string_view key, std::string_view value) const {
    const Edit edit{section, key, value};
    return WithValues(std::span<const Edit>(&edit, 1));
}

std::string IniDocument::WithValues(std::span<const Edit> edits, std::vector<LineChange>* changes) const {
    return Edited(edits, false, nullptr, changes);
}

std::string IniDocument::WithValuesForTheGame(std::span<const Edit> edits, std::vector<CutLine>* cut,
                                              std::vector<LineChange>* changes) const {
    return Edited(edits, true, cut, changes);
}

namespace {

// The part of a line the game reads: up to its note, without the blanks before it.
std::size_t ReadLength(std::string_view line) { return TrimRight(SplitAtFirst(line, ';').before).size(); }

// A last line without a line break gains one, as the file's other lines end.
void EndWithLineBreak(std::string& bytes) {
    if (!bytes.empty() && bytes.back() != '\n') bytes += bytes.find("\r\n") != std::string::npos ? "\r\n" : "\n";
}

// The bytes as the game's reader needs them: no byte-order mark, every line ending with a line
// feed (a lone carriage return gains one), the last line too. Carriage returns are found with
// memchr and the bytes between them copied in runs: a file that needs nothing is passed through
// without a copy.
std::string ReadableByTheGame(std::string bytes) {
    const std::size_t size = bytes.size();
    const char* const data = bytes.data();
    // The next carriage return at or after `from` that no line feed follows, or `size`.
    const auto loneReturn = [data, size](std::size_t from) {
        while (from < size) {
            const void* found = std::memchr(data + from, '\r', size - from);
            if (found == nullptr) return size;
            const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - data);
            if (at + 1 == size || data[at + 1] != '\n') return at;
            from = at + 2;
        }
        return size;
    };
    const std::size_t start =
        std::string_view(bytes).substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    std::size_t lone = loneReturn(start);
    std::string fixed;
    if (start == 0 && lone == size) {
        fixed = std::move(bytes);
    } else {
        fixed.reserve(size - start + 2);
        std::size_t copied = start;
        while (lone < size) {
            fixed.append(data + copied, lone + 1 - copied);
            fixed += '\n';
            copied = lone + 1;
            lone = loneReturn(copied);
        }
        fixed.append(data + copied, size - copied);
    }
    EndWithLineBreak(fixed);
    return fixed;
}

}  // namespace

std::string IniDocument::Edited(std::span<const Edit> edits, bool forTheGame, std::vector<CutLine>* cut,
                                std::vector<LineChange>* changes) const {
    // What each edit does to the parsed file: a key line replaced, lines added to the end of a
    // section, or a new section at the end of the file. Later edits of one key replace earlier.
    struct Added {
        std::string_view key;
        std::string_view value;
    };
    const auto setAdded = [](std::vector<Added>& added, const Edit& edit) {
        for (Added& entry : added)
            if (EqualsNoCase(entry.key, Trim(edit.key))) {
                entry = {edit.key, edit.value};
                return;
            }
        added.push_back({edit.key, edit.value});
    };
    std::unordered_map<const Key*, const Edit*> replaced;
    std::vector<std::pair<const Section*, std::vector<Added>>> appended;
    std::vector<std::pair<std::string_view, std::vector<Added>>> created;
    std::unordered_map<const Section*, std::string_view> renamed;
    for (const Edit& edit : edits) {
        std::vector<const Section*> targets;
        if (forTheGame)
            targets = GameSections(Trim(edit.section));
        else if (const Section* section = FindSection(Trim(edit.section)))
            targets.push_back(section);
        if (targets.empty()) {
            auto fresh = std::find_if(created.begin(), created.end(), [&](const auto& entry) {
                return EqualsNoCase(Trim(entry.first), Trim(edit.section));
            });
            if (fresh == created.end()) fresh = created.insert(created.end(), {edit.section, {}});
            setAdded(fresh->second, edit);
            continue;
        }
        for (const Section* section : targets) {
            if (forTheGame && section->name != Trim(edit.section)) renamed[section] = Trim(edit.section);
            bool found = false;
            for (const Key& key : section->keys) {
                if (!EqualsNoCase(key.name, Trim(edit.key))) continue;
                replaced[&key] = &edit;
                found = true;
                // The profile reader sees the first copy only; the game may take any of them.
                if (!forTheGame) break;
            }
            if (found) continue;
            auto group = std::find_if(appended.begin(), appended.end(),
                                      [&](const auto& entry) { return entry.first == section; });
            if (group == appended.end()) group = appended.insert(appended.end(), {section, {}});
            setAdded(group->second, edit);
        }
    }

    const auto checkLength = [&](std::string_view section, std::string_view key, std::string_view line) {
        if (cut != nullptr && ReadLength(line) > kGameLineLength)
            cut->push_back({std::string(section), std::string(key), ReadLength(line)});
    };
    std::vector<Splice> splices;
    for (const auto& [key, edit] : replaced) {
        splices.push_back(ReplaceValue(*key, Trim(edit->key), edit->value));
        const std::size_t lineStart = m_lines[key->line].start;
        checkLength(edit->section, edit->key,
                    m_bytes.substr(lineStart, splices.back().start - lineStart) + splices.back().text);
        if (changes == nullptr) continue;
        const Line& line = m_lines[key->line];
        const Splice& splice = splices.back();
        std::string after = m_bytes.substr(line.start, splice.start - line.start) + splice.text +
                            m_bytes.substr(splice.end, line.end - splice.end);
        changes->push_back({std::string(Trim(edit->section)), std::string(Trim(edit->key)),
                            m_bytes.substr(line.start, line.end - line.start), std::move(after), true, std::nullopt});
    }
    const auto addedLines = [changes](std::string_view section, const auto& added, bool existed) {
        if (changes == nullptr) return;
        for (const auto& entry : added)
            changes->push_back({std::string(Trim(section)), std::string(Trim(entry.key)), std::nullopt,
                                std::string(entry.key) + "=" + std::string(entry.value), existed, std::nullopt});
    };
    for (const auto& [section, added] : appended) addedLines(section->name, added, true);
    for (const auto& [name, added] : created) addedLines(name, added, false);
    for (const auto& [section, name] : renamed) {
        const auto start = static_cast<std::size_t>(section->name.data() - m_bytes.data());
        splices.push_back({start, start + section->name.size(), std::string(name)});
    }
    for (const auto& [section, added] : appended) {
        std::vector<std::string> lines;
        for (const Added& entry : added) {
            lines.push_back(std::string(entry.key) + "=" + std::string(entry.value));
            checkLength(section->name, entry.key, lines.back());
        }
        splices.push_back(
            InsertAfterLine(section->keys.empty() ? section->headerLine : section->keys.back().line, lines));
    }
    std::vector<std::pair<std::string_view, std::vector<std::string>>> sections;
    for (const auto& [name, added] : created) {
        std::vector<std::string> lines;
        for (const Added& entry : added) {
            lines.push_back(std::string(entry.key) + "=" + std::string(entry.value));
            checkLength(name, entry.key, lines.back());
        }
        sections.emplace_back(name, std::move(lines));
    }

    std::string tail = NewSections(sections);
    // Without a byte-order mark or a lone carriage return in the file, and none in what the
    // edit writes, the edited bytes have none either: only the end of the file may need fixing
    // for the game, and the whole pass over the bytes is spared.
    const bool writesReturn =
        tail.find('\r') != std::string::npos || std::any_of(splices.begin(), splices.end(), [](const Splice& splice) {
            return splice.text.find('\r') != std::string::npos;
        });
    std::string edited = Spliced(std::move(splices), tail);
    if (!forTheGame) return edited;
    if (m_needsGameFixes || writesReturn) return ReadableByTheGame(std::move(edited));
    EndWithLineBreak(edited);
    return edited;
}

std::string IniDocument::Spliced(std::vector<Splice> splices, std::string_view tail) const {
    // Replacements of one line end at or before its insertions start.
    std::stable_sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) {
        return a.start != b.start ? a.start < b.start : a.end < b.end;
    });
    std::size_t size = m_bytes.size() + tail.size();
    for (const Splice& splice : splices) size += splice.text.size() - (splice.end - splice.start);
    std::string edited;
    edited.reserve(size);
    std::size_t copied = 0;
    for (const Splice& splice : splices) {
        edited.append(m_bytes, copied, splice.start - copied);
        edited += splice.text;
        copied = splice.end;
    }
    edited.append(m_bytes, copied, std::string::npos);
    edited += tail;
    return edited;
}

std::optional<std::string_view> IniDocument::LineOf(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(Trim(section));
    const Key* entry = found == nullptr ? nullptr : FindKey(*found, Trim(key));
    if (entry == nullptr) return std::nullopt;
    const Line& line = m_lines[entry->line];
    return std::string_view(m_bytes).substr(line.start, line.end - line.start);
}

std::optional<std::string_view> IniDocument::KeyBefore(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(Trim(section));
    const Key* entry = found == nullptr ? nullptr : FindKey(*found, Trim(key));
    if (entry == nullptr) return std::nullopt;
    return entry == &found->keys.front() ? std::string_view() : (entry - 1)->name;
}

std::optional<std::size_t> IniDocument::PlaceOf(const Section* section, std::optional<std::string_view> follows) {
    if (section == nullptr || !follows) return std::nullopt;
    if (follows->empty()) return section->headerLine;
    const Key* before = FindKey(*section, *follows);
    return before == nullptr ? std::nullopt : std::optional<std::size_t>(before->line);
}

std::string IniDocument::WithLines(std::span<const LineEdit> edits) const {
    std::vector<Splice> splices;
    std::vector<std::pair<const Section*, std::vector<std::string>>> appended;
    std::vector<std::pair<std::string_view, std::vector<std::string>>> created;
    // Per section: how many of its keys are removed, and whether it may go once they all are.
    std::unordered_map<const Section*, std::pair<std::size_t, bool>> emptied;
    std::vector<std::pair<const Section*, const Key*>> removed;
    for (const LineEdit& edit : edits) {
        const Section* section = FindSection(Trim(edit.section));
        const Key* key = section == nullptr ? nullptr : FindKey(*section, Trim(edit.key));
        if (const std::optional<std::size_t> place = PlaceOf(section, edit.follows); edit.line && place) {
            // Back where it was: after the key that came before it, or first in the section. A
            // line of the same name found now is another one (a later duplicate) and stays.
            splices.push_back(InsertAfterLine(*place, {std::string(*edit.line)}));
        } else if (key != nullptr && edit.line) {
            const Line& line = m_lines[key->line];
            splices.push_back({line.start, line.end, std::string(*edit.line)});
        } else if (key != nullptr) {
            removed.emplace_back(section, key);
            auto& [count, drop] = emptied[section];
            ++count;
            drop = drop || edit.dropEmptySection;
        } else if (edit.line && section != nullptr) {
            auto group = std::find_if(appended.begin(), appended.end(),
                                      [&](const auto& entry) { return entry.first == section; });
            if (group == appended.end()) group = appended.insert(appended.end(), {section, {}});
            group->second.emplace_back(*edit.line);
        } else if (edit.line) {
            auto fresh = std::find_if(created.begin(), created.end(), [&](const auto& entry) {
                return EqualsNoCase(Trim(entry.first), Trim(edit.section));
            });
            if (fresh == created.end()) fresh = created.insert(created.end(), {edit.section, {}});
            fresh->second.emplace_back(*edit.line);
        }
    }
    for (const auto& [section, lines] : appended)
        splices.push_back(
            InsertAfterLine(section->keys.empty() ? section->headerLine : section->keys.back().line, lines));

    // A section whose keys all go, and which holds nothing else but blank lines, goes as a whole.
    const auto droppedSection = [&](const Section* section) -> std::optional<Splice> {
        const auto found = emptied.find(section);
        if (found == emptied.end() || !found->second.second || found->second.first != section->keys.size())
            return std::nullopt;
        // The section ends with its last key: blank lines after it stay, as they may be the
        // blank line before the next section, which goes with that section if it goes too.
        std::size_t last = section->headerLine;
        for (std::size_t end = section->headerLine + 1; end < m_lines.size(); ++end) {
            const Line& line = m_lines[end];
            const std::size_t first = SkipWhiteSpace(m_bytes, line.start, line.end);
            if (first < line.end && m_bytes[first] == '[') break;
            const bool isKey = std::any_of(section->keys.begin(), section->keys.end(),
                                           [end](const Key& key) { return key.line == end; });
            if (first < line.end && !isKey) return std::nullopt;
            if (isKey) last = end;
        }
        std::size_t start = m_lines[section->headerLine].start;
        const std::size_t header = section->headerLine;
        if (header > 0 && m_lines[header - 1].start == m_lines[header - 1].end) start = m_lines[header - 1].start;
        return Splice{start, m_lines[last].next, {}};
    };
    std::unordered_map<const Section*, bool> whole;
    for (const auto& [section, key] : removed) {
        auto [entry, fresh] = whole.try_emplace(section, false);
        if (fresh) {
            if (auto splice = droppedSection(section)) {
                entry->second = true;
                splices.push_back(std::move(*splice));
            }
        }
        if (entry->second) continue;
        const Line& line = m_lines[key->line];
        Splice splice{line.start, line.next, {}};
        // The file's last line, without a line ending: the ending before it goes instead.
        if (line.next == line.end && key->line > 0) splice.start = m_lines[key->line - 1].end;
        splices.push_back(std::move(splice));
    }

    std::vector<std::pair<std::string_view, std::vector<std::string>>> sections(created.begin(), created.end());
    return Spliced(std::move(splices), NewSections(sections));
}

}  // namespace morvane::platform
