#include "compare/RulesDiff.h"

#include <algorithm>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "common/TextOps.h"
#include "compare/Fingerprint.h"
#include "compare/PlayedValues.h"
#include "gameview/GameIni.h"

namespace morvane::compare {
namespace {

using gameview::GameIni;
using gameview::GameKeys;
using gameview::GameLine;
using gameview::LineKind;

struct Side {
    char name;
    std::string_view bytes;
    const GameIni& ini;
    const PlayedFile& played;
};

// The file's lines as written, without their line ends, numbered as the game view numbers them.
std::vector<std::string_view> LinesOf(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t feed = bytes.find('\n', at);
        const std::size_t end = feed == std::string_view::npos ? bytes.size() : feed;
        std::string_view line = bytes.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        at = feed == std::string_view::npos ? bytes.size() : feed + 1;
    }
    return lines;
}

// The section each line sits in ("" above the first header), so that a line matches its twin
// only inside a section of the same name.
std::vector<std::string> ContextOf(const GameIni& ini) {
    std::vector<std::string> context;
    std::string current;
    for (const GameLine& line : ini.Lines()) {
        if (line.kind == LineKind::Section) current = line.header;
        context.push_back(current);
    }
    return context;
}

std::string Twin(const std::string& section, std::string_view text) {
    std::string twin = section;
    twin += '\n';
    twin += text;
    return twin;
}

class LineCompare {
public:
    LineCompare(const GameKeys& keys, const std::unordered_set<std::string>& playedKeys,
                const std::unordered_set<std::string>& playedSections)
        : m_keys(keys), m_playedKeys(playedKeys), m_playedSections(playedSections) {}

    // Lists the lines of `side` without a twin in `other`.
    void Unmatched(const Side& side, const Side& other, std::vector<LineDifference>& out) const {
        const std::vector<std::string_view> otherLines = LinesOf(other.bytes);
        const std::vector<std::string> otherContext = ContextOf(other.ini);
        std::unordered_map<std::string, std::size_t> twins;
        for (std::size_t i = 0; i < otherLines.size(); ++i) ++twins[Twin(otherContext[i], otherLines[i])];

        const std::vector<std::string_view> lines = LinesOf(side.bytes);
        const std::vector<std::string> context = ContextOf(side.ini);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto twin = twins.find(Twin(context[i], lines[i]));
            if (twin != twins.end() && twin->second > 0) {
                --twin->second;
                continue;
            }
            const GameLine& line = side.ini.Lines()[i];
            std::string why = Why(side, line, lines[i]);
            if (why.empty()) continue;  // listed among the keys the game plays differently
            const bool entry = line.kind == LineKind::Entry || line.kind == LineKind::EmptyValue;
            out.push_back({side.name, line.number, context[i], entry ? std::string(line.key) : std::string(),
                           std::string(lines[i]), std::move(why)});
        }
    }

private:
    // Why a line that has no twin changes nothing the game plays; empty when it does.
    std::string Why(const Side& side, const GameLine& line, std::string_view text) const {
        if (line.lost) return "the last line has no line break: the game loses it";
        switch (line.kind) {
            case LineKind::Blank:
                return Trim(text).empty() ? "a blank line" : "a note";
            case LineKind::BeforeSections:
                return "above the first section: the game skips it";
            case LineKind::NoEquals:
                return "no key and \"=\": the game ignores it";
            case LineKind::EmptyValue:
                return "an empty value: the game uses its built-in one";
            case LineKind::Section: {
                if (m_playedSections.count(std::string(line.header)) != 0) return {};
                if (std::string unread = UnreadSection(line.header); !unread.empty()) return unread;
                const auto& named = side.played.SectionsNamed(line.header);
                if (named.empty()) return "an empty section: the game drops it";
                if (named.size() > 1) return "a duplicate section";
                return "written differently, read the same";
            }
            case LineKind::Entry:
                break;
        }
        const std::string section(side.ini.Sections()[line.section].name);
        if (std::string unread = UnreadSection(section); !unread.empty()) return unread;
        const gameview::SectionKind& kind = *m_keys.KindOfSection(section);
        if (GameKeys::FindKey(kind, line.key) == nullptr) {
            if (GameKeys::FindKeyNoCase(kind, line.key) != nullptr) return "a letter case the game does not read";
            return "a key the game does not read";
        }
        if (m_playedKeys.count(Twin(section, line.key)) != 0) return {};
        std::size_t copies = 0;
        for (const gameview::GameSection* named : side.played.SectionsNamed(section))
            for (const gameview::GameEntry& entry : named->entries) copies += entry.key == line.key ? 1u : 0u;
        if (copies > 1) return "a duplicate the game hides";
        if (side.played.SectionsNamed(section).size() > 1) return "in a duplicate section";
        return "written differently, read the same";
    }

    std::string UnreadSection(std::string_view section) const {
        const gameview::SectionKind* kind = m_keys.KindOfSection(section);
        if (kind == nullptr)
            return m_keys.SectionNoCase(section) != nullptr ? "a section name in a letter case the game does not read"
                                                            : "a section the game does not read";
        if (!kind->read) return "a section this version of the game never reads";
        return {};
    }

    const GameKeys& m_keys;
    const std::unordered_set<std::string>& m_playedKeys;
    const std::unordered_set<std::string>& m_playedSections;
};

// Whether both files give the key the same texts in the sections of that name: as many such
// sections, and in each the same entries of the key in the same order. What the game may play
// for a key is made from those texts alone (and from the same of a key it follows, checked
// too), so keys written alike play alike and need no reading.
bool SameTexts(const PlayedFile& a, const PlayedFile& b, const std::string& section, const std::string& key) {
    const std::vector<const gameview::GameSection*>& inA = a.SectionsNamed(section);
    const std::vector<const gameview::GameSection*>& inB = b.SectionsNamed(section);
    if (inA.size() != inB.size()) return false;
    for (std::size_t i = 0; i < inA.size(); ++i) {
        const std::span<const gameview::GameEntry> entriesA = inA[i]->entries;
        const std::span<const gameview::GameEntry> entriesB = inB[i]->entries;
        auto atA = entriesA.begin();
        auto atB = entriesB.begin();
        while (true) {
            atA = std::find_if(atA, entriesA.end(), [&](const gameview::GameEntry& entry) { return entry.key == key; });
            atB = std::find_if(atB, entriesB.end(), [&](const gameview::GameEntry& entry) { return entry.key == key; });
            if (atA == entriesA.end() || atB == entriesB.end()) {
                if (atA != entriesA.end() || atB != entriesB.end()) return false;
                break;
            }
            if (atA->value != atB->value) return false;
            ++atA;
            ++atB;
        }
    }
    return true;
}

// SameTexts for the key and every key whose value it follows.
bool WrittenAlike(const PlayedFile& a, const PlayedFile& b, const gameview::SectionKind& kind,
                  const std::string& section, const gameview::GameKey& key) {
    const gameview::GameKey* next = &key;
    // The chain is short (a follower follows a key that follows none); the bound keeps a table
    // whose keys followed each other in a ring from looping.
    for (std::size_t step = 0; next != nullptr && step <= kind.keys.size(); ++step) {
        if (!SameTexts(a, b, section, next->name)) return false;
        next = PlayedFile::KeyFollowed(kind, *next);
    }
    return next == nullptr;
}

// The keys the game plays differently in B than in A, in the game's order; the sections and
// keys of those differences go into `playedKeys` and `playedSections` when given.
std::vector<KeyDifference> DifferentKeys(const GameKeys& keys, const PlayedFile& playedA, const PlayedFile& playedB,
                                         std::unordered_set<std::string>* playedKeys,
                                         std::unordered_set<std::string>* playedSections) {
    std::vector<KeyDifference> differences;
    for (const gameview::SectionKind* kind : KindsInGameOrder(keys)) {
        for (const std::string& section : kind->sections) {
            // Neither file has the section: both play the built-in values.
            const bool inA = !playedA.SectionsNamed(section).empty(), inB = !playedB.SectionsNamed(section).empty();
            if (!inA && !inB) continue;
            for (const gameview::GameKey& key : kind->keys) {
                // Keys both files write alike (the most, absent from both among them) play alike.
                if (WrittenAlike(playedA, playedB, *kind, section, key)) continue;
                // Neither file gives the key and both have the section, or neither: both play the
                // same built-in value, unless it follows another key.
                if (inA == inB && !playedA.Gives(section, key.name) && !playedB.Gives(section, key.name) &&
                    !PlayedFile::FollowsAnotherKey(key))
                    continue;
                const std::vector<Played> candidatesA = playedA.Candidates(*kind, section, key);
                const std::vector<Played> candidatesB = playedB.Candidates(*kind, section, key);
                if (PlaysTheSame(candidatesA, candidatesB)) continue;
                differences.push_back({kind->name, section, key.name, ShownCandidates(candidatesA),
                                       ShownCandidates(candidatesB),
                                       candidatesA.size() == 1 ? candidatesA.front().fileText : std::nullopt});
                if (playedKeys != nullptr) playedKeys->insert(Twin(section, key.name));
                if (playedSections != nullptr) playedSections->insert(section);
            }
        }
    }
    return differences;
}

}  // namespace

RulesDiff DiffRules(const GameKeys& keys, std::string_view a, std::string_view b, bool withLines) {
    const GameIni iniA(a), iniB(b);
    const PlayedFile playedA(keys, iniA), playedB(keys, iniB);
    RulesDiff diff;
    diff.fingerprintA = Fingerprint(iniA);
    diff.fingerprintB = Fingerprint(iniB);

    std::unordered_set<std::string> playedKeys, playedSections;
    diff.keys = DifferentKeys(keys, playedA, playedB, &playedKeys, &playedSections);
    if (withLines) {
        const LineCompare lines(keys, playedKeys, playedSections);
        lines.Unmatched({'A', a, iniA, playedA}, {'B', b, iniB, playedB}, diff.lines);
        lines.Unmatched({'B', b, iniB, playedB}, {'A', a, iniA, playedA}, diff.lines);
    }
    return diff;
}

std::vector<KeyDifference> DiffKeys(const GameKeys& keys, const GameIni& a, const GameIni& b) {
    return DifferentKeys(keys, PlayedFile(keys, a), PlayedFile(keys, b), nullptr, nullptr);
}

namespace {

using gameview::Layer;
using gameview::LayerStack;

// What a stack plays for one key, comparable across stacks and shown for people.
struct StackPlayed {
    std::string value;
    std::string shown;
};

class StackPlay {
public:
    explicit StackPlay(const LayerStack& stack) : m_stack(stack), m_none(""), m_builtIns(stack.Keys(), m_none) {}

    // Whether a layer of the stack gives the key a value (sets, resets or forces it).
    bool Touches(const gameview::SectionKind& kind, const gameview::GameKey& key, const std::string& section) const {
        for (const Layer layer : gameview::kAllLayers)
            if (m_stack.Touches(layer, kind, key, section)) return true;
        return false;
    }

    StackPlayed Plays(const gameview::SectionKind& kind, const std::string& section,
                      const gameview::GameKey& key) const {
        const gameview::KeyResolution resolution = m_stack.Resolve(kind, key, section);
        const gameview::LayerValue& won = resolution.At(resolution.winner);
        const bool reset = won.action == gameview::LayerAction::Resets;
        // A key that follows another when absent (AARate and Rate) follows it when reset or
        // written as 0 too.
        if (const gameview::GameKey* other = PlayedFile::KeyFollowed(kind, key); other != nullptr) {
            const bool zero = !reset && resolution.winner != Layer::BuiltIn &&
                              m_builtIns.ReadsAsZero(key, PlayedText(m_stack.Keys(), key, won.text).value_or(""));
            if (resolution.winner == Layer::BuiltIn || reset || zero) {
                StackPlayed same = Plays(kind, section, *other);
                same.shown = (zero ? won.text + " (" : "absent (") + key.builtIn + ": " + same.shown + ")";
                return same;
            }
        }
        if (resolution.winner == Layer::BuiltIn) return BuiltIn(kind, section, key, resolution);
        StackPlayed played;
        if (resolution.winner == Layer::Forced) {
            played.value = resolution.plays.kind + ' ' + resolution.plays.value;
            played.shown = won.text + " (forced)";
            return played;
        }
        // A crate's data may come from a layer below the one that names it: the value as kept.
        played.value = key.reading == gameview::Reading::Powerup
                           ? ToLowerAscii(resolution.plays.value)
                           : PlayedText(m_stack.Keys(), key, won.text).value_or(resolution.plays.value);
        played.shown = won.text;
        if (reset && resolution.winner == Layer::Rules) {
            // Shown as a diff of the rules files alone shows it.
            played.shown = m_builtIns.Absent(kind, section, key, true).shown;
            return played;
        }
        const std::string where = won.file + ':' + std::to_string(won.line);
        if (reset)
            played.shown += " (" + std::string(gameview::LayerWord(resolution.winner)) + " " + where + ": [" + section +
                            "] without the key)";
        else if (resolution.winner != Layer::Rules)
            played.shown += " (" + std::string(gameview::LayerWord(resolution.winner)) + " " + where + ")";
        return played;
    }

private:
    // No layer decides: the game keeps its built-in value. A land type no layer has keeps the
    // zero-filled start (a present land section or crate list resets the key in the layer that
    // has it, which then decides).
    StackPlayed BuiltIn(const gameview::SectionKind& kind, const std::string& section, const gameview::GameKey& key,
                        const gameview::KeyResolution& resolution) const {
        const Played absent = m_builtIns.Absent(kind, section, key, false);
        StackPlayed played{absent.value, absent.shown};
        // The topmost text the game could not read stands where the value would be.
        const auto topmost = std::find_if(resolution.layers.rbegin(), resolution.layers.rend(), [](const auto& layer) {
            return layer.action == gameview::LayerAction::Sets;
        });
        if (topmost != resolution.layers.rend()) played.shown = ShownUnreadable(topmost->text, absent);
        return played;
    }

    const LayerStack& m_stack;
    const GameIni m_none;
    const PlayedFile m_builtIns;
};

std::uint32_t RulesFingerprint(const LayerStack& stack) {
    const GameIni* rules = stack.Ini(Layer::Rules);
    return rules == nullptr ? Fingerprint(GameIni("")) : Fingerprint(*rules);
}

}  // namespace

RulesDiff DiffLayers(const LayerStack& a, const LayerStack& b) {
    const StackPlay playA(a), playB(b);
    RulesDiff diff;
    diff.fingerprintA = RulesFingerprint(a);
    diff.fingerprintB = RulesFingerprint(b);
    for (const gameview::SectionKind* kind : KindsInGameOrder(a.Keys())) {
        for (const std::string& section : kind->sections) {
            for (const gameview::GameKey& key : kind->keys) {
                // No layer of either game gives the key: both keep the built-in value.
                if (!PlayedFile::FollowsAnotherKey(key) && !playA.Touches(*kind, key, section) &&
                    !playB.Touches(*kind, key, section))
                    continue;
                StackPlayed valueA = playA.Plays(*kind, section, key);
                StackPlayed valueB = playB.Plays(*kind, section, key);
                if (valueA.value == valueB.value) continue;
                diff.keys.push_back(
                    {kind->name, section, key.name, std::move(valueA.shown), std::move(valueB.shown), std::nullopt});
            }
        }
    }
    return diff;
}

std::vector<std::pair<std::string, std::size_t>> CountByKind(const RulesDiff& diff) {
    std::vector<std::pair<std::string, std::size_t>> counts;
    for (const KeyDifference& difference : diff.keys) {
        if (counts.empty() || counts.back().first != difference.kind) counts.emplace_back(difference.kind, 0);
        ++counts.back().second;
    }
    return counts;
}

}  // namespace morvane::compare
