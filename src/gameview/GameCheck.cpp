#include "gameview/GameCheck.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "common/TextOps.h"
#include "gameview/ValueCheck.h"

namespace morvane::gameview {
namespace {

// Letters to change, add or drop to turn one name into the other, without regard to case; a
// distance of `limit` or more is returned as `limit`. Only the cells less than `limit` away
// from the diagonal are counted (a path outside them costs the limit already), and the count
// stops once a whole row has reached the limit: a row's smallest count never falls below.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    if (limit == 0) return 0;
    if ((n > m ? n - m : m - n) >= limit) return limit;
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    std::size_t shortRow[64];
    std::vector<std::size_t> longRow;
    std::size_t* row = shortRow;
    if (m >= std::size(shortRow)) {
        longRow.resize(m + 1);
        row = longRow.data();
    }
    for (std::size_t j = 0; j <= m; ++j) row[j] = std::min(j, limit);
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t low = i >= limit ? i - limit + 1 : 1;
        const std::size_t high = std::min(m, i + limit - 1);
        std::size_t diagonal = row[low - 1];
        row[low - 1] = low == 1 ? std::min(i, limit) : limit;
        std::size_t smallest = row[low - 1];
        const char letter = lower(a[i - 1]);
        for (std::size_t j = low; j <= high; ++j) {
            const std::size_t above = row[j];
            const std::size_t change = diagonal + (letter == lower(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, change, limit});
            smallest = std::min(smallest, row[j]);
            diagonal = above;
        }
        if (smallest >= limit) return limit;
    }
    return row[m];
}

// A key of the kind that a misspelt key probably meant.
const GameKey* NearestKey(const SectionKind& kind, std::string_view key) {
    if (key.size() < 4) return nullptr;
    const GameKey* best = nullptr;
    std::size_t bestDistance = 3;
    for (const GameKey& candidate : kind.keys) {
        const std::size_t longer = std::max(key.size(), candidate.name.size());
        if (longer - std::min(key.size(), candidate.name.size()) >= bestDistance) continue;
        const std::size_t distance = EditDistance(key, candidate.name, bestDistance);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &candidate;
        }
    }
    return best;
}

// The key of the built-in table a misspelt key probably meant, kept between checks: a file is
// checked again after every write, and its misspellings stay. Emptied when it has grown large.
const GameKey* KeptNearestKey(const SectionKind& kind, std::string_view key) {
    static std::mutex mutex;
    static std::unordered_map<std::string, const GameKey*> kept;
    std::string id = kind.name + '\t';
    id += key;
    {
        const std::lock_guard lock(mutex);
        if (const auto found = kept.find(id); found != kept.end()) return found->second;
    }
    const GameKey* nearest = NearestKey(kind, key);
    const std::lock_guard lock(mutex);
    if (kept.size() >= 20000) kept.clear();
    kept.emplace(std::move(id), nearest);
    return nearest;
}

// A section of the game one or two edits away from a name the game does not have.
const std::string* NearestSection(const GameKeys& keys, std::string_view name) {
    if (name.size() < 3) return nullptr;
    const std::string* best = nullptr;
    std::size_t bestDistance = 3;
    for (const SectionKind& kind : keys.Kinds()) {
        for (const std::string& candidate : kind.sections) {
            const std::size_t longer = std::max(name.size(), candidate.size());
            if (longer - std::min(name.size(), candidate.size()) >= bestDistance) continue;
            const std::size_t distance = EditDistance(name, candidate, bestDistance);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = &candidate;
            }
        }
    }
    return best;
}

class Checker {
public:
    Checker(const GameIni& ini, const GameKeys& keys) : m_ini(ini), m_keys(keys) {}

    std::vector<Finding> Run() {
        if (m_ini.ByteOrderMarkHidesHeader())
            Add(1, Level::Error, "", "",
                "The file starts with a byte-order mark, which the game takes for text: it does not see the first "
                "header and loses the keys below it up to the next header. Save the file without the byte-order "
                "mark.");
        if (m_ini.Sections().empty() && !m_ini.Lines().empty())
            Add(1, Level::Error, "", "", "The file has no section header; the game cannot load it.");
        for (const GameLine& line : m_ini.Lines()) CheckLine(line);
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return std::move(m_findings);
    }

private:
    void Add(std::size_t line, Level level, std::string_view section, std::string_view key, std::string message) {
        m_findings.push_back({line, level, std::string(section), std::string(key), std::move(message)});
    }

    std::string_view SectionOf(const GameLine& line) const {
        if (line.kind == LineKind::Section) return line.header;
        if (line.kind == LineKind::BeforeSections || line.section >= m_ini.Sections().size()) return {};
        return m_ini.Sections()[line.section].name;
    }

    void CheckLine(const GameLine& line) {
        const std::string_view section = SectionOf(line);
        if (line.strayReturn)
            Add(line.number, Level::Error, section, line.key,
                "A carriage return without a line feed: the game does not start a new line there, so the text after "
                "it joins this line. End lines with CR LF or LF.");
        // A lost header or empty value loses nothing: the section would have no entries, the
        // entry would be dropped anyway.
        if (line.lost && line.kind == LineKind::Entry) {
            Add(line.number, Level::Error, section, line.key,
                "The file does not end with a line break, so the game loses this last line. Add a line break after "
                "it.");
            return;
        }
        if (line.length > kGameLineLimit) {
            if (line.cutBeforeNote)
                Add(line.number, Level::Error, section, line.key,
                    "The line has " + std::to_string(line.length) + " characters; the game keeps only the first " +
                        std::to_string(kGameLineLimit) + ", so it reads " +
                        (line.kind == LineKind::Entry ? "the value as '" + std::string(line.value) + "'"
                                                      : std::string("a cut line")) +
                        ". Shorten the line.");
            else if (line.cutInNote)
                Add(line.number, Level::Note, section, line.key,
                    "The line has " + std::to_string(line.length) + " characters; the game cuts it at " +
                        std::to_string(kGameLineLimit) + ", inside the note, so nothing it reads is lost.");
        }
        switch (line.kind) {
            case LineKind::Section:
                CheckHeader(line);
                break;
            case LineKind::Entry:
            case LineKind::EmptyValue:
                CheckEntry(line, section);
                break;
            case LineKind::NoEquals:
                if (line.brokenHeader)
                    Add(line.number, Level::Error, section, "",
                        "The header has no \"]\", so the game does not start a section here: the lines below "
                        "stay in " +
                            (section.empty() ? std::string("no section") : "[" + std::string(section) + "]") +
                            ". Close it with ].");
                else if (m_keys.KindOfSection(section) != nullptr)
                    Add(line.number, Level::Warning, section, "",
                        "The line has no \"=\" between a key and a value; the game ignores it.");
                break;
            case LineKind::BeforeSections:
                // Behind a byte-order mark the lines of the first section are lost, said once above.
                if (!m_ini.ByteOrderMarkHidesHeader())
                    Add(line.number, Level::Note, "", line.key,
                        "The line is above the first section; the game skips it.");
                break;
            case LineKind::Blank:
                break;
        }
    }

    void CheckHeader(const GameLine& line) {
        if (!line.afterHeader.empty() && line.afterHeader.front() != ';')
            Add(line.number, Level::Error, line.header, "",
                "The game ignores the text after \"]\" on a header line, so it loses '" +
                    std::string(line.afterHeader) + "'. Put it on a line of its own.");
        if (line.lost) return;
        const GameSection& section = m_ini.Sections()[line.section];
        const SectionKind* kind = KindOfSectionAt(line.section);
        if (kind == nullptr) {
            const std::string name(section.name);
            if (const std::string* spelling = m_keys.SectionNoCase(section.name))
                Add(line.number, Level::Error, section.name, "",
                    "The game matches section names exactly, letter case included: [" + name + "] is not [" +
                        *spelling + "], so the game never reads this section. Write [" + *spelling + "].");
            else if (const std::string* near = NearestSection(m_keys, section.name))
                Add(line.number, Level::Warning, section.name, "",
                    "The game has no section [" + name + "] and ignores it; did you mean [" + *near + "]?");
            else
                Add(line.number, Level::Note, section.name, "",
                    "The game has no section [" + name +
                        "] and ignores it; it cannot make new objects "
                        "from the rules file.");
            return;
        }
        if (!kind->read) {
            Add(line.number, Level::Note, section.name, "",
                "This version of the game does not read [" + std::string(section.name) +
                    "]: difficulty settings come from the game "
                    "itself, so these values have no effect.");
            return;
        }
        if (section.entries.empty()) return;
        // The game's reading keeps the first section of a name with entries apart from the others.
        const GameSection* first = m_ini.FirstSectionWithEntries(section.name);
        if (first != &section)
            Add(line.number, Level::Error, section.name, "",
                "[" + std::string(section.name) + "] appears again (first at line " + std::to_string(first->line) +
                    "). The game keeps the two apart and reads only one of them, either one. Merge them into one "
                    "section.");
    }

    // The kind of the section at this index of the file's sections: looked up once a section.
    const SectionKind* KindOfSectionAt(std::size_t index) {
        if (m_sectionKinds.empty()) m_sectionKinds.assign(m_ini.Sections().size(), {false, nullptr});
        auto& [known, kind] = m_sectionKinds[index];
        if (!known) {
            kind = m_keys.KindOfSection(m_ini.Sections()[index].name);
            known = true;
        }
        return kind;
    }

    void CheckEntry(const GameLine& line, std::string_view section) {
        const SectionKind* kind = KindOfSectionAt(line.section);
        if (kind == nullptr || !kind->read) return;
        const GameKey* key = GameKeys::FindKey(*kind, line.key);
        if (key == nullptr) {
            CheckUnknownKey(line, section, *kind);
            return;
        }
        if (line.kind == LineKind::EmptyValue) {
            // As if the line were not there: the game's built-in value, which is what Default
            // means for a key without a default of its own.
            Add(line.number, Level::Note, section, line.key,
                "The value is empty; the game ignores the line and uses its built-in " + key->builtIn +
                    ". Write a value to change it.");
            return;
        }
        // A key the game reads is found by its exact name: the same entry of the kind's table is
        // the same name, so the entry's position stands for the name.
        if (m_keysOfSection != line.section) {
            m_keysOfSection = line.section;
            ++m_sectionVisit;
        }
        if (m_firstKey.size() < kind->keys.size()) m_firstKey.resize(kind->keys.size());
        FirstKey& first = m_firstKey[static_cast<std::size_t>(key - kind->keys.data())];
        if (first.visit == m_sectionVisit)
            Add(line.number, Level::Error, section, line.key,
                std::string(line.key) + " appears again in this section (first at line " + std::to_string(first.line) +
                    "); the game reads either one. Keep one of them.");
        else
            first = {m_sectionVisit, line.number};
        for (ValueProblem& problem : CheckValue(m_keys, *key, line.value))
            Add(line.number, problem.level, section, line.key, std::move(problem.message));
    }

    void CheckUnknownKey(const GameLine& line, std::string_view sectionName, const SectionKind& kind) {
        const std::string section(sectionName);
        const std::string key(line.key);
        if (line.kind == LineKind::EmptyValue) {
            // Without a value the line does nothing, whatever its key is called.
            Add(line.number, Level::Note, section, line.key,
                "The game does not read " + key + " in [" + section +
                    "], and the value is empty; the line "
                    "has no effect.");
            return;
        }
        if (const GameKey* read = GameKeys::ReadInsteadOf(kind, line.key)) {
            // Every shipped rules file has this line: harmless, but worth knowing.
            Add(line.number, Level::Note, section, line.key,
                "The game's own files spell this key " + key + ", but the game reads only " + read->name +
                    ", so the line has no effect. Write " + read->name + "=" + std::string(line.value) +
                    " for the game to read it.");
        } else if (const GameKey* spelling = GameKeys::FindKeyNoCase(kind, line.key)) {
            Add(line.number, Level::Error, section, line.key,
                "The game matches key names exactly, letter case included: " + key + " is not " + spelling->name +
                    ", so the game never reads this line. Write " + spelling->name + ".");
        } else if (const GameKey* near = NearestKeyOnce(kind, key)) {
            Add(line.number, Level::Warning, section, line.key,
                "The game does not read " + key + " in [" + section + "]; did you mean " + near->name + "?");
        } else {
            // Whoever wrote the line expects an effect that never comes.
            Add(line.number, Level::Warning, section, line.key,
                "The game does not read " + key + " in [" + section + "]; the line has no effect.");
        }
    }

    // Shipped files repeat the same misspelling in many sections: each is looked up once.
    const GameKey* NearestKeyOnce(const SectionKind& kind, const std::string& key) {
        const auto [found, added] = m_nearest.emplace(kind.name + '\t' + key, nullptr);
        if (added) found->second = &m_keys == &GameKeys::BuiltIn() ? KeptNearestKey(kind, key) : NearestKey(kind, key);
        return found->second;
    }

    const GameIni& m_ini;
    const GameKeys& m_keys;
    std::unordered_map<std::string, const GameKey*> m_nearest;
    // By the index of a section in the file: whether its kind was looked up, and the kind.
    std::vector<std::pair<bool, const SectionKind*>> m_sectionKinds;
    std::vector<Finding> m_findings;
    // The keys seen so far in the section the lines are in, by their place in the kind's table:
    // the line of a key's first entry counts when it was seen in this visit of a section.
    struct FirstKey {
        std::size_t visit = 0;
        std::size_t line = 0;
    };
    std::size_t m_keysOfSection = static_cast<std::size_t>(-1);
    std::size_t m_sectionVisit = 0;
    std::vector<FirstKey> m_firstKey;
};

}  // namespace

std::vector<Finding> CheckRulesFile(const GameIni& ini, const GameKeys& keys) { return Checker(ini, keys).Run(); }

}  // namespace morvane::gameview
