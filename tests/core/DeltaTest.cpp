// The changes between two rules files as a small file: read after BASE, the way the game reads
// a second rules file on top of the first, it must play exactly as MOD.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "TempDir.h"
#include "cli/CliCommand.h"
#include "common/TextOps.h"
#include "compare/PlayedValues.h"
#include "compare/RulesDelta.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/GameValues.h"
#include "platform/FileAccess.h"

namespace morvane::compare {
namespace {

using gameview::GameKey;
using gameview::GameKeys;
using gameview::SectionKind;

const GameKeys& Keys() { return GameKeys::BuiltIn(); }

// What the game plays for a key after reading OUT over BASE. Written apart from the delta's own
// code: start from BASE's value; a key OUT gives replaces it when the game can read it; a key
// OUT leaves out keeps it, unless OUT has the section and the key is one that a present section
// resets.
std::optional<std::string> Layered(const PlayedFile& base, const PlayedFile& out, const SectionKind& kind,
                                   const std::string& section, const GameKey& key) {
    const std::vector<Played> before = base.Candidates(kind, section, key);
    std::optional<std::string> value;
    if (before.size() == 1) value = before.front().value;  // else the game's choice: unknown
    const auto& sections = out.SectionsNamed(section);
    if (sections.empty()) return value;
    const gameview::GameEntry* entry = nullptr;
    for (const gameview::GameEntry& candidate : sections.front()->entries)
        if (candidate.key == key.name && entry == nullptr) entry = &candidate;
    const auto previousData = [&value] { return value ? value->substr(value->rfind(',') + 1) : std::string("?"); };
    if (entry != nullptr) {
        auto read = PlayedText(Keys(), key, entry->value);
        if (!read) return value;
        // AARate=0 is read as "the same as Rate".
        if (kind.name == "mission" && key.name == "AARate" && read == PlayedText(Keys(), key, "0"))
            return Layered(base, out, kind, section, *GameKeys::FindKey(kind, "Rate"));
        if (key.reading == gameview::Reading::Powerup && !gameview::ReadGamePowerup(entry->value).hasData)
            read = read->substr(0, read->rfind(',') + 1) + previousData();
        return read;
    }
    if (kind.name == "Powerups") return "0,none," + previousData();
    if (kind.name == "mission" && key.name == "AARate")
        return Layered(base, out, kind, section, *GameKeys::FindKey(kind, "Rate"));
    if (kind.name == "land" || key.name == "Verses" || key.name == "Incoming" || key.name == "NewUnitsEnabled")
        return PlayedText(Keys(), key, std::string(Trim(SplitAtFirst(key.builtIn, " (").before)));
    return value;
}

// Random rules files from a small pool of sections, keys and values, so that two files often
// name the same keys, with the game's pitfalls mixed in: letter case, duplicates, empty values,
// texts the game cannot read, notes and odd spacing.
class RulesGenerator {
public:
    explicit RulesGenerator(unsigned seed) : m_random(seed) {}

    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    using File = std::vector<Section>;

    File Make() {
        File file;
        const int count = Pick(6);
        for (int i = 0; i < count; ++i) {
            Section section{PickOf(kSections), {}};
            const int entries = Pick(6);
            for (int j = 0; j < entries; ++j) section.entries.push_back(Entry(section.name));
            file.push_back(std::move(section));
        }
        return file;
    }

    File Mutate(File file) {
        const int changes = 1 + Pick(4);
        for (int i = 0; i < changes && !file.empty(); ++i) {
            Section& section = file[static_cast<std::size_t>(Pick(static_cast<int>(file.size())))];
            switch (Pick(4)) {
                case 0:
                    section.entries.push_back(Entry(section.name));
                    break;
                case 1:
                    if (!section.entries.empty()) section.entries.erase(section.entries.begin());
                    break;
                case 2:
                    if (!section.entries.empty())
                        section.entries.back().second = Value(section.name, section.entries.back().first);
                    break;
                default:
                    file.erase(file.begin());
                    break;
            }
        }
        return file;
    }

    std::string Render(const File& file) {
        std::string text = Pick(4) == 0 ? "; a rules file\n" : "";
        for (const Section& section : file) {
            text += "[" + section.name + "]" + (Pick(5) == 0 ? " ; note" : "") + "\n";
            for (const auto& [key, value] : section.entries)
                text += key + (Pick(3) == 0 ? " = " : "=") + value + (Pick(5) == 0 ? "  ; note" : "") + "\n";
            if (Pick(2) == 0) text += "\n";
        }
        return text;
    }

private:
    static constexpr const char* kSections[] = {"General", "Powerups", "Clear", "Guard", "HE",     "90mm",
                                                "E1",      "1TNK",     "Easy",  "XTNK",  "general"};

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    template <typename List>
    std::string PickOf(const List& list) {
        return list[static_cast<std::size_t>(Pick(static_cast<int>(std::size(list))))];
    }

    const SectionKind* KindOf(const std::string& section) const {
        const SectionKind* kind = Keys().KindOfSection(section);
        return kind != nullptr ? kind : Keys().Kind("General");
    }

    std::pair<std::string, std::string> Entry(const std::string& section) {
        const SectionKind& kind = *KindOf(section);
        // A handful of each kind's keys, so that files meet on the same ones.
        std::string key =
            kind.keys[static_cast<std::size_t>(Pick(static_cast<int>(std::min<std::size_t>(kind.keys.size(), 6))))]
                .name;
        if (kind.name == "mission" && Pick(2) == 0) key = Pick(2) == 0 ? "Rate" : "AARate";
        if (kind.name == "warhead" && Pick(2) == 0) key = "Verses";
        if (Pick(12) == 0) key = ToLowerAscii(key);
        if (Pick(12) == 0) key = "NoSuchKey";
        return {key, Value(section, key)};
    }

    std::string Value(const std::string& section, const std::string& keyName) {
        const GameKey* key = GameKeys::FindKey(*KindOf(section), keyName);
        using gameview::Reading;
        switch (key == nullptr ? Reading::Int : key->reading) {
            case Reading::Bool:
                return PickOf(std::vector<std::string>{"yes", "no", "on", "Yo", "0", ""});
            case Reading::Int:
            case Reading::Int16u:
            case Reading::Int8u:
                return PickOf(std::vector<std::string>{"0", "5", "$1F", "31", "10h", "abc", "-3", "70000", ""});
            case Reading::Speed:
                return PickOf(std::vector<std::string>{"0", "50", "150", "100", "abc"});
            case Reading::Verses:
                return PickOf(std::vector<std::string>{"100%,50%,25%,25%,10%", "1,.5,.25,.25,.1", "1,1", "100%"});
            case Reading::Powerup:
                return PickOf(std::vector<std::string>{"10,none", "5,NONE,2.0", "0,junk,3", "20,none,0", "7"});
            case Reading::Buildings:
                return PickOf(std::vector<std::string>{"weap,dome", "DOME,WEAP", "none", "barr, tent"});
            case Reading::Owners:
                return PickOf(std::vector<std::string>{"allies", "soviet", "england,greece", "junk"});
            case Reading::Weapon:
            case Reading::Armor:
            case Reading::Crate:
            case Reading::Vehicle: {
                const auto& names = Keys().Names(key->reading);
                return names.empty() || Pick(3) == 0
                           ? std::string("junk")
                           : names[static_cast<std::size_t>(Pick(std::min<int>(3, static_cast<int>(names.size()))))];
            }
            case Reading::Text:
            case Reading::Theme:
            case Reading::Sound:
            case Reading::Anim:
                return PickOf(std::vector<std::string>{"abc", "ABC", "xyz"});
            default:
                return PickOf(std::vector<std::string>{"25%", ".25", "1", "1.5", "150%", "0", "abc", ""});
        }
    }

    std::mt19937 m_random;
};

std::string WithCrLf(const std::string& text) {
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

TEST(Delta, OverBasePlaysAsModForGeneratedPairs) {
    RulesGenerator generate(20261210);
    for (int pair = 0; pair < 400; ++pair) {
        const RulesGenerator::File baseFile = generate.Make();
        const RulesGenerator::File modFile = pair % 2 == 0 ? generate.Mutate(baseFile) : generate.Make();
        std::string base = generate.Render(baseFile), mod = generate.Render(modFile);
        // A third of the pairs are Windows files, another third a Windows MOD over a Unix BASE.
        if (pair % 3 != 0) mod = WithCrLf(mod);
        if (pair % 3 == 1) base = WithCrLf(base);
        const RulesDelta delta = MakeDelta(Keys(), base, mod);
        // OUT's lines end as MOD's do.
        const bool crlf = pair % 3 != 0 && mod.find('\n') != std::string::npos;
        EXPECT_EQ(delta.text.find(crlf ? "\n\n" : "\r"), std::string::npos) << delta.text;
        EXPECT_EQ(std::count(delta.text.begin(), delta.text.end(), '\r'),
                  crlf ? std::count(delta.text.begin(), delta.text.end(), '\n') : 0)
            << delta.text;

        const gameview::GameIni baseIni(base), modIni(mod), outIni(delta.text);
        const PlayedFile baseSide(Keys(), baseIni), modSide(Keys(), modIni), outSide(Keys(), outIni);
        for (const SectionKind* kind : KindsInGameOrder(Keys())) {
            for (const std::string& section : kind->sections) {
                // A section none of the three files names plays its built-in values in both.
                if (baseSide.SectionsNamed(section).empty() && modSide.SectionsNamed(section).empty() &&
                    outSide.SectionsNamed(section).empty())
                    continue;
                for (const GameKey& key : kind->keys) {
                    const std::vector<Played> expected = modSide.Candidates(*kind, section, key);
                    const std::string name = "[" + section + "] " + key.name;
                    const bool notCarried =
                        std::find(delta.notCarried.begin(), delta.notCarried.end(), name) != delta.notCarried.end();
                    // MOD's duplicates leave the game's choice open; the delta names them.
                    if (expected.size() != 1) {
                        EXPECT_TRUE(notCarried) << name << "\nBASE:\n" << base << "MOD:\n" << mod;
                        continue;
                    }
                    if (notCarried) continue;
                    EXPECT_EQ(Layered(baseSide, outSide, *kind, section, key), expected.front().value)
                        << name << "\nBASE:\n"
                        << base << "MOD:\n"
                        << mod << "OUT:\n"
                        << delta.text;
                }
            }
        }
        if (testing::Test::HasFailure()) return;
    }
}

struct DeltaCase {
    const char* name;
    std::string base;
    std::string mod;
    std::string out;
};

TEST(Delta, WritesOnlyWhatDiffers) {
    const DeltaCase cases[] = {
        {"no difference", "[E1]\nCost=100\n", "; note\n[E1]\nCost = 100\n", ""},
        {"a value as MOD writes it, in the game's order", "[E1]\nCost=100\n[General]\nBuildSpeed=1\n",
         "[General]\nBuildSpeed=80%\n[E1]\nCost=200\nSight=4\n",
         "[General]\nBuildSpeed=80%\n\n[E1]\nSight=4\nCost=200\n\n"},
        {"a key MOD leaves out gets the built-in value", "[E1]\nCost=100\nSight=4\n", "[E1]\nCost=100\n",
         "[E1]\nSight=0\n\n"},
        {"a text the game cannot read is written as what it plays", "[General]\nCurleyShuffle=yes\n",
         "[General]\nCurleyShuffle=on\n", "[General]\nCurleyShuffle=no\n\n"},
        {"a present crate list brings every crate", "[Powerups]\nMoney=50,none\n", "[Powerups]\nMoney=60,none\n",
         "[Powerups]\nMoney=60,NONE,0\n\n"},
        {"a crate list where BASE had none", "[E1]\nCost=1\n", "[Powerups]\nMoney=60,none,0\n",
         "[Powerups]\nMoney=60,none,0\nUnit=0,NONE,0\nParaBomb=0,NONE,0\nHealBase=0,NONE,0\nCloak=0,NONE,0\n"
         "Explosion=0,NONE,0\nNapalm=0,NONE,0\nSquad=0,NONE,0\nDarkness=0,NONE,0\nReveal=0,NONE,0\n"
         "Sonar=0,NONE,0\nArmor=0,NONE,0\nSpeed=0,NONE,0\nFirepower=0,NONE,0\nICBM=0,NONE,0\n"
         "TimeQuake=0,NONE,0\nInvulnerability=0,NONE,0\nChronalVortex=0,NONE,0\n\n[E1]\nCost=0\n\n"},
        {"a terrain value brings the ones its section resets", "[Clear]\nFoot=50%\nTrack=50%\n",
         "[Clear]\nFoot=60%\nTrack=50%\n", "[Clear]\nFoot=60%\nTrack=50%\n\n"},
    };
    for (const DeltaCase& c : cases) {
        const RulesDelta delta = MakeDelta(Keys(), c.base, c.mod);
        EXPECT_EQ(delta.text, c.out) << c.name;
        EXPECT_TRUE(delta.notCarried.empty()) << c.name;
    }
}

TEST(Delta, LineEndsFollowMod) {
    const DeltaCase cases[] = {
        {"both CR LF", "[E1]\r\nCost=100\r\n", "[E1]\r\nCost=120\r\n", "[E1]\r\nCost=120\r\n\r\n"},
        {"MOD LF over a CR LF BASE", "[E1]\r\nCost=100\r\n", "[E1]\nCost=120\n", "[E1]\nCost=120\n\n"},
        {"MOD CR LF over an LF BASE", "[E1]\nCost=100\n", "[E1]\r\nCost=120\r\n", "[E1]\r\nCost=120\r\n\r\n"},
        {"mixed: most lines CR LF", "[E1]\nCost=100\n", "[E1]\nCost=120\r\n\r\n", "[E1]\r\nCost=120\r\n\r\n"},
        {"mixed: most lines LF", "[E1]\nCost=100\n", "[E1]\r\nCost=120\n\n", "[E1]\nCost=120\n\n"},
        {"a tie: the first line's", "[E1]\nCost=100\n", "[E1]\r\nCost=120\n", "[E1]\r\nCost=120\r\n\r\n"},
        {"a tie the other way", "[E1]\r\nCost=100\r\n", "[E1]\nCost=120\r\n", "[E1]\nCost=120\n\n"},
        {"no line break in MOD", "[E1]\r\nCost=100\r\n", "", "[E1]\nCost=0\n\n"},
    };
    for (const DeltaCase& c : cases) {
        const RulesDelta delta = MakeDelta(Keys(), c.base, c.mod);
        EXPECT_EQ(delta.text, c.out) << c.name;
        // Read after BASE, the changes play as MOD.
        const gameview::GameIni baseIni(c.base), modIni(c.mod), outIni(delta.text);
        const PlayedFile baseSide(Keys(), baseIni), modSide(Keys(), modIni), outSide(Keys(), outIni);
        const SectionKind& infantry = *Keys().KindOfSection("E1");
        for (const GameKey& key : infantry.keys)
            EXPECT_EQ(Layered(baseSide, outSide, infantry, "E1", key),
                      modSide.Candidates(infantry, "E1", key).front().value)
                << c.name << ": " << key.name;
    }
}

TEST(Delta, NamesWhatNoTextCanCarry) {
    // A warhead's built-in is kept, never read: no text brings it back over BASE's.
    const RulesDelta delta = MakeDelta(Keys(), "[90mm]\nWarhead=HE\n", "[90mm]\nDamage=5\n");
    EXPECT_EQ(delta.notCarried, std::vector<std::string>{"[90mm] Warhead"});
    EXPECT_EQ(delta.text, "[90mm]\nDamage=5\n\n");
}

TEST(Delta, CommandWritesOut) {
    test::TempDir dir;
    const std::string base = dir.File("base.ini"), mod = dir.File("mod.ini"), out = dir.File("out.ini");
    ASSERT_EQ(platform::ReplaceFileAtomically(base, "[E1]\nCost=100\n"), 0);
    ASSERT_EQ(platform::ReplaceFileAtomically(mod, "[E1]\nCost=120\n"), 0);
    std::ostringstream stdOut, stdErr;
    EXPECT_EQ(cli::RunCli({"delta", base, mod, out}, stdOut, stdErr), cli::kExitOk) << stdErr.str();
    EXPECT_EQ(platform::ReadFileBytes(out), std::optional<std::string>("[E1]\nCost=120\n\n"));
    // OUT may not be one of the inputs; a missing input is exit 2.
    EXPECT_EQ(cli::RunCli({"delta", base, mod, mod}, stdOut, stdErr), cli::kExitUsage);
    EXPECT_EQ(platform::ReadFileBytes(mod), std::optional<std::string>("[E1]\nCost=120\n"));
    EXPECT_EQ(cli::RunCli({"delta", dir.File("none.ini"), mod, out}, stdOut, stdErr), 2);
    // Windows files give Windows changes.
    ASSERT_EQ(platform::ReplaceFileAtomically(mod, "[E1]\r\nCost=130\r\n"), 0);
    EXPECT_EQ(cli::RunCli({"delta", base, mod, out}, stdOut, stdErr), cli::kExitOk) << stdErr.str();
    EXPECT_EQ(platform::ReadFileBytes(out), std::optional<std::string>("[E1]\r\nCost=130\r\n\r\n"));
}

}  // namespace
}  // namespace morvane::compare
