#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The rules file as bytes with an index of its sections and keys: what a profile read looks up
// and what a profile write edits. Only the edited line changes; every other byte, line endings
// included, stays as it was.
namespace morvane::platform {

class IniDocument {
public:
    explicit IniDocument(std::string bytes);
    // The same over bytes that stay shared with their other holders: they are not copied.
    explicit IniDocument(std::shared_ptr<const std::string> bytes);

    const std::string& Bytes() const { return m_bytes; }

    // The value of the key in the section, white space trimmed at both ends (an inline comment
    // stays part of it), or nothing when the section or the key is missing. Names match without
    // regard to ASCII case; the first matching section, and in it the first matching key, counts.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Every key of the section Find reads (the first of that name), in file order, duplicates
    // included: visit(key, value) with the value as Find gives it. Nothing when it is missing.
    // One section lookup for all its keys.
    template <class Visit>
    void ForEachKey(std::string_view section, Visit&& visit) const {
        const Section* found = FindSection(TrimmedName(section));
        if (found == nullptr) return;
        const std::string_view bytes(m_bytes);
        for (const Key& key : found->keys) visit(key.name, bytes.substr(key.valueStart, key.valueEnd - key.valueStart));
    }

    struct Edit {
        std::string_view section;
        std::string_view key;
        std::string_view value;
    };

    // The bytes of the file with the key set to the value (see the class comment). The key is
    // added to the end of its section, or the section to the end of the file, when missing. A
    // key found with other letter case is written as given: the game matches names exactly.
    std::string WithValue(std::string_view section, std::string_view key, std::string_view value) const;

    // What an edit did to one key's line: the whole line before (nothing when the key was
    // absent) and after (nothing when the key was taken out), without its line ending.
    struct LineChange {
        std::string section;
        std::string key;
        std::optional<std::string> before;
        std::optional<std::string> after;
        bool sectionExisted = true;  // false: the edit added the section too
        // For a line taken out: the key whose line came before it in the section ("" when it
        // came first), so that putting it back puts it where it was.
        std::optional<std::string> follows;
    };

    // The same for several keys at once, from this one parse; when one key is given twice, the
    // later value counts. `changes`, when given, gets one entry per key the edits touch.
    std::string WithValues(std::span<const Edit> edits, std::vector<LineChange>* changes = nullptr) const;

    // The whole line holding the key (without its line ending), or nothing when it is absent.
    std::optional<std::string_view> LineOf(std::string_view section, std::string_view key) const;
    // The key whose line comes before the key's own in its section ("" when it is the first),
    // or nothing when the key is absent.
    std::optional<std::string_view> KeyBefore(std::string_view section, std::string_view key) const;

    // Puts lines back: each key's line becomes `line` exactly (added as WithValues adds a key
    // when it is missing, or right after the line of the key `follows` names, or after the
    // section's header when it names none), or is removed when `line` is nothing. With
    // `dropEmptySection`, a section left with nothing but its header and blank lines goes too,
    // with the blank line before its header.
    struct LineEdit {
        std::string_view section;
        std::string_view key;
        std::optional<std::string_view> line;
        bool dropEmptySection = false;
        std::optional<std::string_view> follows;
    };
    std::string WithLines(std::span<const LineEdit> edits) const;

    // A line the game would cut: its key, and how many characters it keeps of the part it reads
    // (the line up to its note, without trailing blanks).
    struct CutLine {
        std::string section;
        std::string key;
        std::size_t length = 0;
    };

    // WithValues() made for the game's reader, which matches names exactly, takes either copy
    // of a duplicated section or key, loses a last line without a line feed, ends lines only at
    // a line feed and takes a byte-order mark for text. Every copy of the section (with exactly
    // the edit's name) and of the key gets the value; with no section of exactly that name, the
    // first one differing only in letter case is renamed. A byte-order mark is dropped, lone
    // carriage returns become CR LF and the file ends with a line break. `cut`, when given, gets
    // every edited or added line longer than the game's 127 characters.
    std::string WithValuesForTheGame(std::span<const Edit> edits, std::vector<CutLine>* cut = nullptr,
                                     std::vector<LineChange>* changes = nullptr) const;

private:
    struct Line {
        std::size_t start = 0;  // first byte
        std::size_t end = 0;    // one past the last byte before the line ending
        std::size_t next = 0;   // first byte of the next line
    };
    struct Key {
        std::string_view name;
        std::size_t line = 0;
        std::size_t valueStart = 0;  // first byte of the value (after "=" and blanks)
        std::size_t valueEnd = 0;    // one past its last non-blank byte
    };
    struct Section {
        std::string_view name;
        std::size_t headerLine = 0;
        std::vector<Key> keys;
    };

    // Bytes [start, end) of the original replaced by `text`.
    struct Splice {
        std::size_t start = 0;
        std::size_t end = 0;
        std::string text;
    };

    // Section names hash and compare without regard to ASCII case, and are looked up by view:
    // a lookup allocates nothing.
    struct NoCaseHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct NoCaseEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    const Section* FindSection(std::string_view name) const;
    static std::string_view TrimmedName(std::string_view name);
    // The sections a write for the game edits: every one named exactly so, else the first
    // named so in other letter case.
    std::vector<const Section*> GameSections(std::string_view name) const;
    std::string Edited(std::span<const Edit> edits, bool forTheGame, std::vector<CutLine>* cut,
                       std::vector<LineChange>* changes) const;
    static const Key* FindKey(const Section& section, std::string_view name);
    // The line after which a key put back goes: that of the key `follows` names, or the
    // section's header when it names none; nothing when there is no such place (it goes last).
    static std::optional<std::size_t> PlaceOf(const Section* section, std::optional<std::string_view> follows);
    std::string LineEnding() const;
    Splice ReplaceValue(const Key& key, std::string_view name, std::string_view value) const;
    std::string Spliced(std::vector<Splice> splices, std::string_view tail) const;
    Splice InsertAfterLine(std::size_t lineIndex, const std::vector<std::string>& lines) const;
    std::string NewSections(const std::vector<std::pair<std::string_view, std::vector<std::string>>>& sections) const;

    std::shared_ptr<const std::string> m_held;
    const std::string& m_bytes;  // *m_held
    std::vector<Line> m_lines;
    // A byte-order mark or a carriage return without a line feed: bytes the game's reader needs
    // changed whatever is written.
    bool m_needsGameFixes = false;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t, NoCaseHash, NoCaseEqual> m_sectionIndex;  // name -> first section
};

}  // namespace morvane::platform
