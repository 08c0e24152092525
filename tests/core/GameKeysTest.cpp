// The game's key table: the compiled table against the parsed file, and the lookups' rules
// (first match wins, letter case aside where asked) on a small table.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "gameview/GameKeys.h"

namespace morvane::gameview {
namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string KindName(const SectionKind* kind) { return kind == nullptr ? "(none)" : kind->name; }
std::string NameOf(const std::string* name) { return name == nullptr ? "(none)" : *name; }
std::string KeyOf(const GameKey* key) { return key == nullptr ? "(none)" : key->name + "=" + key->builtIn; }

// The build turns resources/game-keys.tsv into ready arrays with their search orders: every
// kind, key and name, and every lookup, must come out as the parse of the file gives them.
TEST(GameKeysTable, TheCompiledTableIsTheParsedFile) {
    std::ifstream file(MORVANE_GAME_KEYS_FILE, std::ios::binary);
    if (!file) GTEST_SKIP() << "the table file cannot be read here";
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    GameKeys parsed;
    ASSERT_EQ(GameKeys::Parse(text, parsed), std::nullopt);
    const GameKeys& built = GameKeys::BuiltIn();

    ASSERT_EQ(built.Kinds().size(), parsed.Kinds().size());
    for (std::size_t k = 0; k < parsed.Kinds().size(); ++k) {
        const SectionKind& want = parsed.Kinds()[k];
        const SectionKind& have = built.Kinds()[k];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(have.name, want.name);
        EXPECT_EQ(have.read, want.read);
        EXPECT_EQ(have.sections, want.sections);
        EXPECT_EQ(have.shippedSpellings, want.shippedSpellings);
        ASSERT_EQ(have.keys.size(), want.keys.size());
        for (std::size_t i = 0; i < want.keys.size(); ++i) {
            const GameKey& key = want.keys[i];
            EXPECT_EQ(have.keys[i].name, key.name);
            EXPECT_EQ(have.keys[i].reading, key.reading) << key.name;
            EXPECT_EQ(have.keys[i].builtIn, key.builtIn) << key.name;
            EXPECT_EQ(KeyOf(GameKeys::FindKey(have, key.name)), KeyOf(GameKeys::FindKey(want, key.name)));
            EXPECT_EQ(KeyOf(GameKeys::FindKeyNoCase(have, Upper(key.name))),
                      KeyOf(GameKeys::FindKeyNoCase(want, Upper(key.name))));
        }
        for (const auto& spelling : want.shippedSpellings)
            EXPECT_EQ(KeyOf(GameKeys::ReadInsteadOf(have, spelling.first)),
                      spelling.second + "=" + GameKeys::FindKey(want, spelling.second)->builtIn);
        for (const std::string& section : want.sections) {
            EXPECT_EQ(KindName(built.KindOfSection(section)), KindName(parsed.KindOfSection(section))) << section;
            EXPECT_EQ(NameOf(built.SectionNoCase(Upper(section))), NameOf(parsed.SectionNoCase(Upper(section))));
        }
    }
    for (int r = 0; r <= static_cast<int>(Reading::Text); ++r) {
        const auto reading = static_cast<Reading>(r);
        ASSERT_EQ(built.Names(reading), parsed.Names(reading)) << r;
        for (const std::string& name : parsed.Names(reading))
            EXPECT_EQ(built.IndexOfName(reading, Upper(name)), parsed.IndexOfName(reading, Upper(name))) << name;
    }
}

TEST(GameKeysTable, LookupsFindTheFirstMatch) {
    GameKeys keys;
    ASSERT_EQ(GameKeys::Parse("kind\tA\tread\tAlpha,beta,ALPHA\n"
                              "kind\tB\tread\tBeta,Alpha\n"
                              "key\tA\tSpeed\tint\t1\n"
                              "key\tA\tspeed\tint\t2\n"
                              "key\tA\tRange\tfixed\t3\n"
                              "key\tA\tSpeed\tint\t4\n"
                              "spelling\tA\tRnage\tRange\n"
                              "name\tsound\tx\n"
                              "name\tsound\tBOOM\n"
                              "name\tsound\tboom\n",
                              keys),
              std::nullopt);
    const SectionKind& a = keys.Kinds()[0];
    EXPECT_EQ(KindName(keys.KindOfSection("Alpha")), "A");  // in both kinds: the first kind's
    EXPECT_EQ(KindName(keys.KindOfSection("ALPHA")), "A");
    EXPECT_EQ(KindName(keys.KindOfSection("Beta")), "B");
    EXPECT_EQ(KindName(keys.KindOfSection("alpha")), "(none)");
    EXPECT_EQ(NameOf(keys.SectionNoCase("alpha")), "Alpha");
    EXPECT_EQ(NameOf(keys.SectionNoCase("BETA")), "beta");
    EXPECT_EQ(NameOf(keys.SectionNoCase("gamma")), "(none)");
    EXPECT_EQ(KeyOf(GameKeys::FindKey(a, "speed")), "speed=2");
    EXPECT_EQ(KeyOf(GameKeys::FindKey(a, "Speed")), "Speed=1");  // written twice: the first
    EXPECT_EQ(KeyOf(GameKeys::FindKeyNoCase(a, "SPEED")), "Speed=1");
    EXPECT_EQ(KeyOf(GameKeys::FindKey(a, "range")), "(none)");
    EXPECT_EQ(KeyOf(GameKeys::ReadInsteadOf(a, "Rnage")), "Range=3");
    EXPECT_EQ(KeyOf(GameKeys::ReadInsteadOf(a, "Range")), "(none)");
    EXPECT_EQ(keys.IndexOfName(Reading::Sound, "Boom"), 1);
    EXPECT_EQ(keys.IndexOfName(Reading::Sound, "X"), 0);
    EXPECT_EQ(keys.IndexOfName(Reading::Sound, "bang"), -1);
    EXPECT_EQ(keys.IndexOfName(Reading::Armor, "Heavy"), 3);
    EXPECT_EQ(keys.SpellingOf("alpha", "SPEED").section, "Alpha");
    EXPECT_EQ(keys.SpellingOf("alpha", "SPEED").key, "Speed");
}

TEST(GameKeysTable, RefusesAFaultyTableWithItsLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"kind\tGeneral\tread\tGeneral\nkey\tGeneral\tX\tmystery\t0\n", "line 2: unknown reading mystery"},
        {"key\tNope\tX\tint\t0\n", "line 1: key of an undeclared kind Nope"},
        {"kind\tA\tread\tA\n\n# note\nspelling\tA\tX\tY\n", "line 4: spelling of a key the table does not have: Y"},
        {"kind\tA\tread\tA\nkey\tA\tX\tint\n", "line 2: neither a kind, a key, a spelling nor a name line"},
    };
    for (const auto& c : cases) {
        GameKeys keys;
        const auto error = GameKeys::Parse(c.text, keys);
        ASSERT_TRUE(error.has_value()) << c.text;
        EXPECT_NE(error->find(c.error), std::string::npos) << *error;
    }
}

}  // namespace
}  // namespace morvane::gameview
