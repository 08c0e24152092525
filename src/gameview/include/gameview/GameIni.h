#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::gameview {

// The game's own reading of a rules file, line by line. It differs from the editor's profile
// reader: lines end only at a line feed and lose their carriage returns, at most 127 characters
// of a line are kept, a last line without a line feed is lost, names match exactly (letter case
// included), a ";" anywhere starts a note, and an entry with an empty value is dropped.
inline constexpr std::size_t kGameLineLimit = 127;

enum class LineKind : unsigned char {
    Blank,          // nothing, or only a note
    Section,        // a section header
    Entry,          // an entry the game keeps
    EmptyValue,     // "Key=" with nothing after it: dropped
    NoEquals,       // text without "=" (or with nothing before it): ignored
    BeforeSections  // text above the first section header: skipped
};

// The texts of lines, entries and sections are views into the file's bytes held by the GameIni
// (or into its own copy of a line rebuilt without stray carriage returns), and a section's entries
// a view into the GameIni's list of all entries. Copies and moves of a GameIni share those, so
// the views stay valid as long as any of them lives.
struct GameLine {
    std::size_t number = 0;   // 1 for the first line
    std::size_t section = 0;  // index into Sections() of the section the line belongs to
    std::size_t length = 0;   // characters without carriage returns
    LineKind kind = LineKind::Blank;
    bool cutBeforeNote = false;    // longer than the limit, and the cut loses text before any note
    bool cutInNote = false;        // longer than the limit, and the cut falls inside a note
    bool strayReturn = false;      // a carriage return with text after it on the same line
    bool brokenHeader = false;     // starts with "[" but has no "]": not a header to the game
    bool lost = false;             // the last line of a file that does not end with a line feed
    std::string_view key;          // Entry / EmptyValue / NoEquals: the key as the game has it
    std::string_view value;        // Entry: the value as the game has it
    std::string_view header;       // Section: the header's name
    std::string_view afterHeader;  // Section: the text after the "]", trimmed
};

struct GameEntry {
    std::string_view key;
    std::string_view value;
    std::size_t line = 0;
};

struct GameSection {
    std::string_view name;
    std::size_t line = 0;  // the header's line number
    std::span<const GameEntry> entries;
};

class GameIni {
public:
    explicit GameIni(std::string_view bytes);

    const std::vector<GameLine>& Lines() const { return m_lines; }
    // The file starts with a UTF-8 byte-order mark right before a header: the game takes the
    // mark for text, so that header is no header to it.
    bool ByteOrderMarkHidesHeader() const { return m_byteOrderMark; }
    // Every header in file order, empty ones included (the game drops those).
    const std::vector<GameSection>& Sections() const { return m_sections; }

    // The entry the game finds for the key: the first section of that exact name holding any
    // entry, in it the first entry of that exact name. Duplicates make the game's choice
    // unspecified; the check reports them. nullptr when the game does not see the key.
    const GameEntry* Find(std::string_view section, std::string_view key) const;
    // Whether the game sees a section of this exact name (one with at least one entry).
    bool HasSection(std::string_view section) const;
    // The first section of this exact name that holds an entry, or nullptr.
    const GameSection* FirstSectionWithEntries(std::string_view section) const;

private:
    // The file's bytes, the lines rebuilt without their stray carriage returns and every
    // section's entries one after the other: what the views of the lines, entries and sections
    // point into. Filled once, never changed after.
    struct Text {
        std::string bytes;
        std::string rebuilt;
        std::vector<GameEntry> entries;
    };
    std::shared_ptr<const Text> m_text;
    bool m_byteOrderMark = false;
    std::vector<GameLine> m_lines;
    std::vector<GameSection> m_sections;
    // The positions in m_sections of the sections holding entries, by name, then in file order:
    // a lookup is a binary search, whatever the number of sections.
    std::vector<std::size_t> m_byName;
};

}  // namespace morvane::gameview
