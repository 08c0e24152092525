#include "gameview/GameReading.h"

#include <algorithm>

#include "common/TextOps.h"
#include "gameview/GameEffective.h"
#include "gameview/ReadingKinds.h"
#include "gameview/ValueCheck.h"

namespace morvane::gameview {
namespace {

// Why the game does not see the key, when the file holds something like it.
std::string WhyUnseen(const GameIni& ini, std::string_view section, const GameKey& key) {
    for (const GameLine& line : ini.Lines()) {
        if (line.kind != LineKind::Entry && line.kind != LineKind::EmptyValue) continue;
        if (line.section >= ini.Sections().size() || !EqualsNoCase(line.key, key.name)) continue;
        const std::string_view name = ini.Sections()[line.section].name;
        if (!EqualsNoCase(name, section)) continue;
        if (name != section)
            return "The file's section is [" + std::string(name) + "], and the game matches names exactly";
        if (line.key != key.name)
            return "The file spells the key " + std::string(line.key) + ", and the game matches names exactly";
        if (line.lost) return "The key is on the file's last line, which has no line break, so the game loses it";
        if (line.kind == LineKind::EmptyValue) return "The value is empty, so the game ignores the line";
    }
    return {};
}

}  // namespace

std::string ValueInWords(const GameKeys& keys, const GameKey& key, const std::string& value) {
    return KindOf(key.reading).words(keys, key, value);
}

std::string DescribeGameReading(const GameKeys& keys, const GameIni& ini, std::string_view section,
                                std::string_view key) {
    if (section.empty() || key.empty()) return {};
    const SectionKind* kind = keys.KindOfSection(section);
    std::string gameSection(section);
    if (kind == nullptr) {
        if (const std::string* spelling = keys.SectionNoCase(section)) {
            gameSection = *spelling;
            kind = keys.KindOfSection(gameSection);
        }
    }
    if (kind == nullptr) return "The game has no section [" + std::string(section) + "], so it does not read this key.";
    if (!kind->read) return "This version of the game does not read [" + gameSection + "]; the value has no effect.";
    const GameKey* gameKey = GameKeys::FindKey(*kind, key);
    if (gameKey == nullptr) gameKey = GameKeys::FindKeyNoCase(*kind, key);
    if (gameKey == nullptr) {
        if (const GameKey* read = GameKeys::ReadInsteadOf(*kind, key))
            return "The game does not read " + std::string(key) + "; it reads " + read->name + " instead.";
        return "The game does not read " + std::string(key) + " in [" + gameSection + "].";
    }

    const auto text = TextTheGameReads(ini, *kind, gameSection, *gameKey);
    if (!text) {
        const std::string why = WhyUnseen(ini, gameSection, *gameKey);
        if (!why.empty()) return why + "; it uses its built-in " + gameKey->builtIn + ".";
        return "Not in the file: the game uses its built-in " + gameKey->builtIn + ".";
    }
    std::string words = "The game reads: " + ValueInWords(keys, *gameKey, *text);
    if (ini.Find(gameSection, gameKey->name) == nullptr)
        return words + " - [" + gameSection + "] does not list this crate, so the game reads " +
               std::string(kMissingCrate) + " and the crate never appears.";
    const std::vector<ValueProblem> problems = CheckValue(keys, *gameKey, *text);
    if (!problems.empty()) words += " - " + problems.front().message;
    return words;
}

}  // namespace morvane::gameview
