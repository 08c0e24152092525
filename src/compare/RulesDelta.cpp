#include "compare/RulesDelta.h"

#include <optional>

#include "compare/PlayedValues.h"
#include "gameview/GameIni.h"

namespace morvane::compare {
namespace {

// The line end the changes are written with: MOD's, so that they read like the file they come
// from. When MOD mixes both, the one most of its lines end with; on a tie, its first line's.
// A file without any line break gets a line feed.
std::string_view LineEndOf(std::string_view text) {
    std::size_t crlf = 0, lf = 0;
    std::string_view first;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
        const bool withReturn = at > 0 && text[at - 1] == '\r';
        ++(withReturn ? crlf : lf);
        if (first.empty()) first = withReturn ? "\r\n" : "\n";
    }
    if (crlf != lf) return crlf > lf ? "\r\n" : "\n";
    return first.empty() ? "\n" : first;
}

}  // namespace

RulesDelta MakeDelta(const gameview::GameKeys& keys, std::string_view base, std::string_view mod) {
    const gameview::GameIni baseIni(base), modIni(mod);
    const PlayedFile baseFile(keys, baseIni), modFile(keys, modIni);
    const std::string_view end = LineEndOf(mod);
    RulesDelta delta;
    for (const gameview::SectionKind* kind : KindsInGameOrder(keys)) {
        for (const std::string& section : kind->sections) {
            if (baseFile.SectionsNamed(section).empty() && modFile.SectionsNamed(section).empty()) continue;
            struct Line {
                const gameview::GameKey* key;
                Played mod;
                std::optional<std::string> reset;  // what the game plays when the section resets the key
            };
            std::vector<Line> lines;
            bool differs = false;
            for (const gameview::GameKey& key : kind->keys) {
                const std::vector<Played> inBase = baseFile.Candidates(*kind, section, key);
                std::vector<Played> inMod = modFile.Candidates(*kind, section, key);
                if (PlaysTheSame(inBase, inMod) && inMod.size() == 1) {
                    // The same in both, yet a present section resets it: it goes along unless the
                    // reset gives MOD's value anyway. A crate's reset keeps the data it had.
                    if (!ResetsWithSection(*kind, key)) continue;
                    const std::string reset =
                        kind->name == "Powerups"
                            ? "0,none," + inBase.front().value.substr(inBase.front().value.rfind(',') + 1)
                            : modFile.Absent(*kind, section, key, true).value;
                    lines.push_back({&key, std::move(inMod.front()), reset});
                    continue;
                }
                differs = true;
                if (inMod.size() > 1) delta.notCarried.push_back("[" + section + "] " + key.name);
                lines.push_back({&key, std::move(inMod.front()), std::nullopt});
            }
            if (!differs) continue;
            delta.text += "[" + section + "]";
            delta.text += end;
            for (const Line& line : lines) {
                if (line.reset && *line.reset == line.mod.value) continue;
                if (!line.mod.fileText) {
                    delta.notCarried.push_back("[" + section + "] " + line.key->name);
                    continue;
                }
                delta.text += line.key->name + "=" + *line.mod.fileText;
                delta.text += end;
            }
            delta.text += end;
        }
    }
    return delta;
}

}  // namespace morvane::compare
