#include "gameview/GameKeys.h"

#include "common/TextOps.h"
#include "gameview/EmbeddedGameKeys.h"
#include "gameview/ReadingKinds.h"

namespace morvane::gameview {
namespace {

std::vector<std::string> SplitFields(std::string_view line, char mark) {
    std::vector<std::string> fields;
    while (true) {
        const Split split = SplitAtFirst(line, mark);
        fields.emplace_back(split.before);
        if (!split.found) return fields;
        line = split.after;
    }
}

}  // namespace

std::optional<std::string> GameKeys::Parse(std::string_view text, GameKeys& out) {
    out = GameKeys();
    std::vector<std::string> sounds;
    std::vector<std::string> animations;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const Split split = SplitAtFirst(text, '\n');
        const std::string_view line = TrimRight(split.before);
        text = split.after;
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string> fields = SplitFields(line, '\t');
        const auto fault = [lineNumber](const std::string& what) {
            return "line " + std::to_string(lineNumber) + ": " + what;
        };
        if (fields[0] == "kind" && fields.size() == 4) {
            SectionKind kind;
            kind.name = fields[1];
            kind.read = fields[2] == "read";
            kind.sections = SplitFields(fields[3], ',');
            for (const std::string& section : kind.sections) {
                out.m_sectionKind.emplace(section, out.m_kinds.size());
                out.m_sectionNoCase.emplace(ToLowerAscii(section), section);
            }
            out.m_kinds.push_back(std::move(kind));
        } else if (fields[0] == "key" && fields.size() == 5) {
            SectionKind* kind = nullptr;
            for (SectionKind& candidate : out.m_kinds)
                if (candidate.name == fields[1]) kind = &candidate;
            if (kind == nullptr) return fault("key of an undeclared kind " + fields[1]);
            const auto reading = ReadingNamed(fields[3]);
            if (!reading) return fault("unknown reading " + fields[3]);
            kind->keyIndex.emplace(fields[2], kind->keys.size());
            kind->keyIndexNoCase.emplace(ToLowerAscii(fields[2]), kind->keys.size());
            kind->keys.push_back({fields[2], *reading, fields[4]});
        } else if (fields[0] == "spelling" && fields.size() == 4) {
            SectionKind* kind = nullptr;
            for (SectionKind& candidate : out.m_kinds)
                if (candidate.name == fields[1]) kind = &candidate;
            if (kind == nullptr || FindKey(*kind, fields[3]) == nullptr)
                return fault("spelling of a key the table does not have: " + fields[3]);
            kind->shippedSpellings.emplace(fields[2], fields[3]);
        } else if (fields[0] == "name" && fields.size() == 3 && (fields[1] == "sound" || fields[1] == "anim")) {
            (fields[1] == "sound" ? sounds : animations).push_back(fields[2]);
        } else {
            return fault("neither a kind, a key, a spelling nor a name line");
        }
    }

    const auto names = [&out](Reading reading, std::vector<std::string> list) {
        auto& index = out.m_nameIndex[static_cast<int>(reading)];
        for (std::size_t i = 0; i < list.size(); ++i) index.emplace(ToLowerAscii(list[i]), static_cast<int>(i));
        out.m_names[static_cast<int>(reading)] = std::move(list);
    };
    const auto sectionsOf = [&out](std::string_view kindName) {
        const SectionKind* kind = out.Kind(kindName);
        return kind == nullptr ? std::vector<std::string>() : kind->sections;
    };
    names(Reading::Weapon, sectionsOf("weapon"));
    names(Reading::Warhead, sectionsOf("warhead"));
    names(Reading::Projectile, sectionsOf("projectile"));
    names(Reading::Vehicle, sectionsOf("unit"));
    names(Reading::Buildings, sectionsOf("building"));
    names(Reading::Owners, sectionsOf("country"));
    names(Reading::Sound, std::move(sounds));
    names(Reading::Anim, std::move(animations));
    names(Reading::Armor, {"none", "wood", "light", "heavy", "concrete"});
    std::vector<std::string> crates;
    if (const SectionKind* powerups = out.Kind("Powerups"))
        for (const GameKey& key : powerups->keys) crates.push_back(key.name);
    names(Reading::Crate, std::move(crates));
    return std::nullopt;
}

const GameKeys& GameKeys::BuiltIn() {
    static const GameKeys table = [] {
        GameKeys keys;
        // The table is part of the program; a fault in it is caught by the tests.
        Parse(std::string_view(kEmbeddedGameKeys, kEmbeddedGameKeysSize), keys);
        return keys;
    }();
    return table;
}

const SectionKind* GameKeys::KindOfSection(std::string_view section) const {
    const auto found = m_sectionKind.find(section);
    return found == m_sectionKind.end() ? nullptr : &m_kinds[found->second];
}

const std::string* GameKeys::SectionNoCase(std::string_view section) const {
    const auto found = m_sectionNoCase.find(ToLowerAscii(section));
    return found == m_sectionNoCase.end() ? nullptr : &found->second;
}

const SectionKind* GameKeys::Kind(std::string_view kindName) const {
    for (const SectionKind& kind : m_kinds)
        if (kind.name == kindName) return &kind;
    return nullptr;
}

const GameKey* GameKeys::FindKey(const SectionKind& kind, std::string_view key) {
    const auto found = kind.keyIndex.find(key);
    return found == kind.keyIndex.end() ? nullptr : &kind.keys[found->second];
}

const GameKey* GameKeys::FindKeyNoCase(const SectionKind& kind, std::string_view key) {
    const auto found = kind.keyIndexNoCase.find(ToLowerAscii(key));
    return found == kind.keyIndexNoCase.end() ? nullptr : &kind.keys[found->second];
}

const GameKey* GameKeys::ReadInsteadOf(const SectionKind& kind, std::string_view key) {
    const auto found = kind.shippedSpellings.find(key);
    return found == kind.shippedSpellings.end() ? nullptr : FindKey(kind, found->second);
}

GameKeys::Spelling GameKeys::SpellingOf(std::string_view section, std::string_view key) const {
    Spelling spelling{std::string(section), std::string(key)};
    const std::string* known = KindOfSection(section) != nullptr ? &spelling.section : SectionNoCase(section);
    if (known == nullptr) return spelling;
    spelling.section = *known;
    if (const GameKey* read = FindKeyNoCase(*KindOfSection(*known), key)) spelling.key = read->name;
    return spelling;
}

bool GameKeys::IgnoresKey(std::string_view section, std::string_view key) const {
    const SectionKind* kind = KindOfSection(section);
    return kind != nullptr && kind->read && FindKey(*kind, key) == nullptr;
}

const std::vector<std::string>& GameKeys::Names(Reading reading) const {
    static const std::vector<std::string> kNone;
    const auto found = m_names.find(static_cast<int>(reading));
    return found == m_names.end() ? kNone : found->second;
}

int GameKeys::IndexOfName(Reading reading, std::string_view name) const {
    const auto names = m_nameIndex.find(static_cast<int>(reading));
    if (names == m_nameIndex.end()) return -1;
    const auto found = names->second.find(ToLowerAscii(name));
    return found == names->second.end() ? -1 : found->second;
}

}  // namespace morvane::gameview
