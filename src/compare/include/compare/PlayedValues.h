#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"

// What the game plays for each key of one rules file, in a form that compares: two texts the
// game reads alike ("25%" and ".25", "yes" and "Yo") give the same value, and a text the game
// cannot read gives the value it keeps instead.
namespace morvane::compare {

// The value the game takes from the text of an entry of `key`, made comparable; nothing when the
// game keeps the value it had (a bool that is neither yes nor no, an unknown warhead, ...).
std::optional<std::string> PlayedText(const gameview::GameKeys& keys, const gameview::GameKey& key,
                                      std::string_view text);

// The kinds of section the game reads, in the order it reads them.
std::vector<const gameview::SectionKind*> KindsInGameOrder(const gameview::GameKeys& keys);

// A key that a later file resets whenever it has the key's section, even without the key.
bool ResetsWithSection(const gameview::SectionKind& kind, const gameview::GameKey& key);

// One value the game may play for a key of a file.
struct Played {
    const gameview::GameEntry* entry = nullptr;  // the entry it comes from; nullptr: the file does not give it
    std::string value;                           // comparable: equal values play the same
    bool builtIn = false;                        // the game uses its own value (absent, or unreadable text)
    std::string shown;                           // for people: the text as written, or "absent (BUILT-IN)"
    // A text that, written in a file, makes the game play this value; nothing when no text can
    // (a built-in the game only keeps, such as a theme's own setting).
    std::optional<std::string> fileText;
};

class PlayedFile {
public:
    PlayedFile(const gameview::GameKeys& keys, const gameview::GameIni& ini);

    const gameview::GameKeys& Keys() const { return m_keys; }
    const gameview::GameIni& Ini() const { return m_ini; }
    // The sections of this exact name that kept an entry, in file order: the game sees one of them.
    const std::vector<const gameview::GameSection*>& SectionsNamed(std::string_view name) const;

    // Whether any section of this name gives the key (in this exact spelling).
    bool Gives(std::string_view section, std::string_view key) const;
    // Whether the key's value follows another key's when the file does not give it.
    static bool FollowsAnotherKey(const gameview::GameKey& key);
    // The key whose value it follows, or nullptr.
    static const gameview::GameKey* KeyFollowed(const gameview::SectionKind& kind, const gameview::GameKey& key);
    // Whether a played value of the key is the one its text "0" gives: a follower written so
    // follows its key as when absent.
    bool ReadsAsZero(const gameview::GameKey& key, const std::string& value) const;

    // What the game may play for the key: one value, or several different ones when duplicate
    // sections or entries leave the choice to the game (it does not say which it takes).
    std::vector<Played> Candidates(const gameview::SectionKind& kind, const std::string& section,
                                   const gameview::GameKey& key) const;

    // What the game plays for the key when the file does not give it, with or without its section.
    Played Absent(const gameview::SectionKind& kind, const std::string& section, const gameview::GameKey& key,
                  bool sectionPresent) const;

private:
    const gameview::GameKeys& m_keys;
    const gameview::GameIni& m_ini;
    gameview::NameMap<std::vector<const gameview::GameSection*>> m_sections;
};

// How a text the game cannot read is shown: the text, and the built-in value it keeps instead
// (`kept` is what the game plays without the text).
std::string ShownUnreadable(std::string_view text, const Played& kept);

// Whether the game plays a key of two files alike: each file gives one value and the values are
// equal, or both leave the same choice open.
bool PlaysTheSame(const std::vector<Played>& a, const std::vector<Played>& b);

// The candidates for people: "100", or "100 or 200 (duplicates: the game takes one)".
std::string ShownCandidates(const std::vector<Played>& candidates);

}  // namespace morvane::compare
