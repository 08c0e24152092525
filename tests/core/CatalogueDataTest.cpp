// Checks on the built-in catalogue as a whole: the data mistakes a hand edit or a generator
// slip would make.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>

#include "common/TextOps.h"
#include "schema/CatalogueFile.h"
#include "schema/CatalogueLayout.h"
#include "schema/CatalogueWalks.h"
#include "schema/Descriptor.h"
#include "schema/ObjectPictures.h"

namespace morvane {
namespace {

const StringTable& Catalogue() { return BuiltInCatalogue(); }

std::vector<std::string> KeysOfList(std::uint16_t id) {
    std::vector<std::string> keys;
    for (const auto& line : SplitKeyList(Catalogue().Text(id))) keys.push_back(line.key);
    return keys;
}

std::vector<std::string> KeysOfObject(std::uint16_t objectId) {
    const auto entry = ParseObjectListEntry(Catalogue().Text(objectId));
    std::vector<std::string> keys;
    if (!entry) return keys;
    for (const auto& key : ObjectKeys(Catalogue(), entry->descriptorBase)) keys.push_back(key.key);
    return keys;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<std::string> kUnitHead = {
    "Prerequisite", "Primary",    "Secondary", "Strength", "Armor",      "TechLevel",    "Sight",       "Speed",
    "Owner",        "Cost",       "Points",    "ROT",      "Crewed",     "NoMovingFire", "SelfHealing", "Tracked",
    "Ammo",         "Passengers", "Cloakable", "Sensors",  "GuardRange", "Explodes",     "DoubleOwned"};
const std::vector<std::string> kUnitTail = {"Image", "Fraidycat", "Reload", "Invisible"};
// The keys the game reads for every unit, after each block's original keys.
const std::vector<std::string> kUnitExtra = {"Crushable", "Repairable", "Name"};
const std::vector<std::string> kUnit = Join({kUnitHead, kUnitTail, kUnitExtra});
const std::vector<std::string> kInfantry = Join({kUnitHead, kUnitTail, {"C4", "Infiltrate", "IsCanine"}, kUnitExtra});
const std::vector<std::string> kStructure = {
    "Prerequisite", "Primary",    "Secondary",  "Strength",   "Armor",      "TechLevel",    "Sight",
    "Owner",        "Cost",       "Points",     "ROT",        "Crewed",     "NoMovingFire", "SelfHealing",
    "Invisible",    "Ammo",       "Cloakable",  "Sensors",    "GuardRange", "Explodes",     "DoubleOwned",
    "BaseNormal",   "Adjacent",   "Bib",        "Capturable", "Power",      "Powered",      "Repairable",
    "Storage",      "Unsellable", "WaterBound", "Image",      "Crushable",  "Name"};
const std::vector<std::string> kWeapon = {"Anim",  "Burst",  "Camera", "Charges", "Damage",  "Projectile", "ROF",
                                          "Range", "Report", "Speed",  "Warhead", "Supress", "TurboBoost"};
const std::vector<std::string> kProjectile = {"AA",          "AG",       "ASW",         "Animates",  "Arcing", "Arm",
                                              "Degenerates", "Dropping", "Frames",      "Gigundo",   "High",   "Image",
                                              "Inaccurate",  "Inviso",   "Parachuted",  "Proximity", "ROT",    "Ranged",
                                              "Rotates",     "Shadow",   "Translucent", "UnderWater"};
const std::vector<std::string> kWarhead = {"Spread", "Wall", "Wood", "Ore", "Verses", "Explosion", "InfDeath"};
const std::vector<std::string> kLand = {"Float", "Foot", "Track", "Wheel", "Buildable"};
// Every mission has Rate and AARate: the game reads them for all of them.
const std::vector<std::string> kMission = {"NoThreat",  "Zombie",  "Recruitable", "Paralyzed",
                                           "Retaliate", "Scatter", "Rate",        "AARate"};

struct Category {
    std::uint16_t first;
    std::uint16_t last;
    const std::vector<std::string>* keys;
};

const Category kCategories[] = {
    {2100, 2125, &kInfantry},  {2201, 2229, &kUnit},    {2400, 2406, &kUnit},       {2301, 2350, &kStructure},
    {2901, 2937, &kStructure}, {4101, 4143, &kWeapon},  {4000, 4017, &kProjectile}, {3300, 3308, &kWarhead},
    {3400, 3408, &kLand},      {3700, 3722, &kMission},
};

std::vector<std::string> ExpectedKeys(const Category& category, const std::string& section) {
    std::vector<std::string> keys = *category.keys;
    if (category.keys == &kProjectile) {
        if (section == "Parachute" || section == "Bomblet") keys.push_back("RangeLimit");
        keys.push_back("Inaccuate");  // the spelling the game reads, after the shipped one
    }
    return keys;
}

TEST(BuiltInCatalogue, Loads) {
    EXPECT_GT(Catalogue().Size(), 6000u);
    EXPECT_EQ(Catalogue().Text(101), "&About Morvane...");
    EXPECT_EQ(Catalogue().Text(52772), "About Morvane...");
    EXPECT_EQ(Catalogue().Text(52775), "Quits the applications");
}

TEST(BuiltInCatalogue, KeyListsEndWithLineFeedAndNameDescriptors) {
    std::vector<std::uint16_t> lists;
    for (std::uint16_t id = 200; id <= 209; ++id) lists.push_back(id);
    for (std::uint16_t id = 300; id <= 330; ++id) lists.push_back(id);
    for (const std::uint16_t id : lists) {
        const std::string_view text = Catalogue().Text(id);
        ASSERT_FALSE(text.empty()) << id;
        EXPECT_EQ(text.back(), '\n') << id;
        for (const auto& line : SplitKeyList(text)) {
            const auto descriptor = Catalogue().Find(line.descriptorId);
            ASSERT_TRUE(descriptor) << line.key;
            const Descriptor parsed = ParseDescriptor(*descriptor, Catalogue());
            EXPECT_TRUE(parsed.hasFields) << line.key;
            EXPECT_FALSE(parsed.helpText.empty()) << line.key << " has no help";
        }
    }
}

TEST(BuiltInCatalogue, GeneralKeyLists) {
    const auto crates = SplitKeyList(Catalogue().Text(200));
    ASSERT_EQ(crates.size(), 10u);
    EXPECT_EQ(crates.front().key, "CrateMinimum");
    EXPECT_EQ(crates.back().key, "WoodCrate");
    const auto movement = SplitKeyList(Catalogue().Text(208));
    ASSERT_EQ(movement.size(), 6u);
    EXPECT_EQ(movement[3].key, "SuspendDelay");
    EXPECT_EQ(movement[3].descriptorId, 10091);
    EXPECT_EQ(movement[4].key, "SuspendPriority");
    EXPECT_EQ(movement[4].descriptorId, 10092);
    EXPECT_EQ(KeysOfList(206)[5], "GameSpeeBias");
    EXPECT_EQ(KeysOfList(206)[6], "GameSpeedBias");
    EXPECT_FALSE(Catalogue().Has(10208));
}

TEST(BuiltInCatalogue, CountriesShareSevenKeys) {
    const std::vector<std::string> keys = {"Firepower", "Groundspeed", "Airspeed", "Armor", "ROF", "Cost", "BuildTime"};
    std::vector<layout::SectionBranch> houses(std::begin(layout::kCountries), std::end(layout::kCountries));
    houses.insert(houses.end(), std::begin(layout::kOtherHouses), std::end(layout::kOtherHouses));
    for (const auto& house : houses) {
        const std::uint16_t list = house.keyListId;
        EXPECT_EQ(KeysOfList(list), keys) << list;
        for (const auto& line : SplitKeyList(Catalogue().Text(list))) {
            const std::string_view text = Catalogue().Text(line.descriptorId);
            EXPECT_NE(text.find(";~800"), std::string_view::npos) << text;
        }
    }
    const auto ussr = SplitKeyList(Catalogue().Text(308));
    EXPECT_EQ(ParseDescriptor(Catalogue().Text(ussr[5].descriptorId), Catalogue()).defaultText, "0.9");
    EXPECT_EQ(ParseDescriptor(Catalogue().Text(ussr[5].descriptorId), Catalogue()).helpText,
              "Multiplier to cost for all units and buildings [larger means costlier]");
}

TEST(BuiltInCatalogue, DifficultiesHaveTwelveKeysWithGroundspeedTenth) {
    for (const std::uint16_t base : {10300, 10320, 10340}) {
        const auto lines = SplitKeyList(Catalogue().Text(static_cast<std::uint16_t>(312 + (base - 10300) / 20)));
        ASSERT_EQ(lines.size(), 12u);
        EXPECT_EQ(lines[9].key, "Groundspeed");
        EXPECT_EQ(lines[9].descriptorId, base + 11);
        EXPECT_FALSE(Catalogue().Has(static_cast<std::uint16_t>(base + 12)));
    }
}

TEST(BuiltInCatalogue, ListRangesEndAtFreeIds) {
    EXPECT_EQ(WalkListRange(Catalogue(), 3100, 3105).size(), 5u);
    const auto infantryImages = WalkListRange(Catalogue(), 2100, 2226);
    EXPECT_EQ(infantryImages.size(), 26u);
    EXPECT_EQ(infantryImages.back(), 2125);
    EXPECT_EQ(WalkListRange(Catalogue(), 9200, std::nullopt).size(), 14u);
    EXPECT_EQ(WalkListRange(Catalogue(), 3500, 3518).size(), 18u);
    EXPECT_EQ(WalkListRange(Catalogue(), 14000, 14032).size(), 33u);
}

TEST(BuiltInCatalogue, CratePowerupOptionsCarryTheirCaption) {
    const std::map<std::string, std::string> captions = {
        {"Armor", "Multiplier"}, {"Explosion", "Damage"}, {"Firepower", "Multiplier"},   {"Money", "Cash"},
        {"Napalm", "Damage"},    {"Speed", "Multiplier"}, {"Invulnerability", "Minutes"}};
    const auto lines = SplitKeyList(Catalogue().Text(315));
    ASSERT_EQ(lines.size(), 18u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].descriptorId, 9100 + i);
        const Descriptor d = ParseDescriptor(Catalogue().Text(lines[i].descriptorId), Catalogue());
        EXPECT_EQ(d.typeLetter, "K");
        const bool hasOption = std::count(d.defaultText.begin(), d.defaultText.end(), ',') == 2;
        const auto caption = SplitOptionCaption(d.helpText);
        const auto expected = captions.find(lines[i].key);
        EXPECT_EQ(hasOption, expected != captions.end()) << lines[i].key;
        if (hasOption) {
            ASSERT_TRUE(caption) << lines[i].key;
            EXPECT_EQ(caption->caption, expected->second);
        } else {
            EXPECT_FALSE(caption) << lines[i].key;
        }
    }
}

TEST(BuiltInCatalogue, ObjectsFollowTheirTemplates) {
    int objects = 0;
    int keys = 0;
    std::map<std::uint16_t, std::string> owner;  // descriptor id -> object, to find overlaps
    for (const Category& category : kCategories) {
        for (std::uint16_t id = category.first; id <= category.last; ++id) {
            const auto text = Catalogue().Find(id);
            if (!text) continue;
            const auto entry = ParseObjectListEntry(*text);
            ASSERT_TRUE(entry) << id;
            ASSERT_TRUE(entry->hasBlock) << id;
            ++objects;
            const auto block = WalkDescriptorBlock(Catalogue(), entry->descriptorBase);
            const auto objectKeys = KeysOfObject(id);
            EXPECT_EQ(objectKeys, ExpectedKeys(category, entry->section)) << entry->section;
            EXPECT_EQ(block.size(), objectKeys.size()) << entry->section << ": every descriptor names a key";
            keys += static_cast<int>(objectKeys.size());
            for (const auto descriptorId : block) {
                const auto [at, fresh] = owner.emplace(descriptorId, entry->section);
                EXPECT_TRUE(fresh) << entry->section << " overlaps " << at->second << " at " << descriptorId;
            }
        }
    }
    EXPECT_EQ(objects, 251);
    int generalKeys = 0;
    for (std::uint16_t list : {200, 201, 202, 203, 204, 205, 206, 207, 208, 209})
        generalKeys += static_cast<int>(KeysOfList(list).size());
    for (std::uint16_t list = 300; list <= 330; ++list) generalKeys += static_cast<int>(KeysOfList(list).size());
    EXPECT_EQ(generalKeys, 419);
    EXPECT_EQ(keys, 6163);
}

TEST(BuiltInCatalogue, ListDefaultsLieInsideTheirRanges) {
    for (const Category& category : kCategories) {
        for (std::uint16_t id = category.first; id <= category.last; ++id) {
            const auto entry = ParseObjectListEntry(Catalogue().Text(id));
            if (!entry) continue;
            for (const auto descriptorId : WalkDescriptorBlock(Catalogue(), entry->descriptorBase)) {
                const Descriptor d = ParseDescriptor(Catalogue().Text(descriptorId), Catalogue());
                if (d.typeLetter != "L" && d.typeLetter != "M") continue;
                const auto low = static_cast<std::uint16_t>(ReadDecimal(d.minText));
                const auto high = static_cast<std::uint16_t>(ReadDecimal(d.maxText));
                const auto range = WalkListRange(Catalogue(), low, high);
                std::string_view ids = Trim(d.defaultText);
                while (!ids.empty()) {
                    const Split split = SplitAtFirst(ids, ',');
                    const auto value = static_cast<std::uint16_t>(ReadDecimal(split.before));
                    EXPECT_NE(std::find(range.begin(), range.end(), value), range.end())
                        << entry->section << " descriptor " << descriptorId << " default " << value;
                    ids = split.found ? split.after : std::string_view();
                }
            }
        }
    }
}

// The NAMEs of a list range, in upper case: the game matches them without regard to case.
std::set<std::string> UpperNamesOf(std::uint16_t low, std::uint16_t high) {
    std::set<std::string> names;
    for (const std::uint16_t id : WalkListRange(Catalogue(), low, high)) {
        std::string name = ListEntryName(Catalogue().Text(id));
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        names.insert(name);
    }
    return names;
}

std::set<std::string> UpperSections(std::initializer_list<std::pair<std::uint16_t, std::uint16_t>> ranges) {
    std::set<std::string> names;
    for (const auto& [low, high] : ranges) {
        for (const auto& name : UpperNamesOf(low, high)) names.insert(name);
    }
    return names;
}

Descriptor DescriptorOfObjectKey(std::uint16_t objectId, const std::string& key) {
    const auto entry = ParseObjectListEntry(Catalogue().Text(objectId));
    if (!entry) return {};
    for (const auto& objectKey : ObjectKeys(Catalogue(), entry->descriptorBase))
        if (objectKey.key == key) return ParseDescriptor(Catalogue().Text(objectKey.descriptorId), Catalogue());
    return {};
}

Descriptor DescriptorOfListKey(std::uint16_t listId, const std::string& key) {
    for (const auto& line : SplitKeyList(Catalogue().Text(listId)))
        if (line.key == key) return ParseDescriptor(Catalogue().Text(line.descriptorId), Catalogue());
    return {};
}

// What the game accepts, held against what the lists offer (the game's names, any case).
TEST(BuiltInCatalogue, ListsOfferWhatTheGameAccepts) {
    const std::set<std::string> prerequisites = {"NONE", "ATEK", "IRON", "WEAP", "PDOX", "PBOX", "HBOX", "DOME", "GAP",
                                                 "GUN",  "AGUN", "FTUR", "FACT", "PROC", "SILO", "HPAD", "SAM",  "AFLD",
                                                 "POWR", "APWR", "STEK", "HOSP", "BARR", "TENT", "KENN", "FIX",  "BIO",
                                                 "MISS", "SYRD", "SPEN", "MSLO", "FCOM", "TSLA"};
    EXPECT_EQ(UpperNamesOf(14000, 14032), prerequisites);
    EXPECT_FALSE(Catalogue().Has(14033));

    // A unit crate hands out land vehicles only: every one of them, and none for a random one.
    const Descriptor crate = DescriptorOfListKey(200, "UnitCrateType");
    ASSERT_EQ(crate.typeLetter, "L");
    std::set<std::string> vehicles = UpperSections({{2201, 2214}, {2222, 2229}});
    vehicles.insert("NONE");
    EXPECT_EQ(UpperNamesOf(static_cast<std::uint16_t>(ReadDecimal(crate.minText)),
                           static_cast<std::uint16_t>(ReadDecimal(crate.maxText))),
              vehicles);
    EXPECT_EQ(DefaultValueForFile(crate, Catalogue()), "none");

    const struct {
        std::uint16_t objectId;  // an object whose key holds the list
        const char* key;
        std::set<std::string> mustHold;
        std::optional<std::string> defaultName;
    } cases[] = {
        {4107, "Projectile", {"NUKEDOWN", "FIREBALL"}, "Fireball"},  // Flamer
        {4106, "Projectile", {"FIREBALL"}, "Fireball"},              // FireballLauncher
        {4102, "Report", {"AACANON3"}, "AACANON3"},                  // ZSU-23
        {4138, "Warhead", {"MECHANICAL"}, std::nullopt},             // GoodWrench
        {2124,
         "Primary",
         {"MANDIBLE", "PORTATESLA", "GOODWRENCH", "SUBSCUD", "TTANKZAP", "APTUSK", "DEMOCHARGE", "AIRASSAULT"},
         std::nullopt},  // SHOK
    };
    for (const auto& c : cases) {
        const Descriptor d = DescriptorOfObjectKey(c.objectId, c.key);
        const auto names = UpperNamesOf(static_cast<std::uint16_t>(ReadDecimal(d.minText)),
                                        static_cast<std::uint16_t>(ReadDecimal(d.maxText)));
        for (const auto& name : c.mustHold) EXPECT_TRUE(names.count(name)) << c.key << " lacks " << name;
        if (c.defaultName) {
            EXPECT_EQ(DefaultValueForFile(d, Catalogue()), *c.defaultName) << c.key;
        }
    }
    EXPECT_FALSE(UpperNamesOf(3500, 3518).count("AACANNON3"));
    // Every weapon, projectile and warhead object is a choice of the lists that name them.
    const auto weaponChoices = UpperNamesOf(2999, 3042);
    const auto weapons = UpperSections({{4101, 4143}});
    EXPECT_TRUE(std::includes(weaponChoices.begin(), weaponChoices.end(), weapons.begin(), weapons.end()));
    EXPECT_EQ(weaponChoices.size(), weapons.size() + 1);  // and None
    EXPECT_EQ(UpperNamesOf(3202, 3219), UpperSections({{4000, 4017}}));
    EXPECT_EQ(UpperNamesOf(4300, 4308), UpperSections({{3300, 3308}}));
    // The crate bonuses are the Powerups keys, ChronalVortex included.
    std::set<std::string> powerups;
    for (auto key : KeysOfList(315)) {
        for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        powerups.insert(key);
    }
    EXPECT_EQ(UpperNamesOf(1040, 1060), powerups);
    EXPECT_TRUE(powerups.count("CHRONALVORTEX"));
    for (const char* key : {"SilverCrate", "WaterCrate", "WoodCrate"}) {
        const Descriptor d = DescriptorOfListKey(200, key);
        EXPECT_EQ(UpperNamesOf(static_cast<std::uint16_t>(ReadDecimal(d.minText)),
                               static_cast<std::uint16_t>(ReadDecimal(d.maxText))),
                  powerups)
            << key;
    }
}

// The game splits Verses only at commas: every default must be five comma-separated percentages.
TEST(BuiltInCatalogue, VersesDefaultsAreCommaSeparated) {
    for (std::uint16_t id = 3300; id <= 3308; ++id) {
        const Descriptor d = DescriptorOfObjectKey(id, "Verses");
        ASSERT_EQ(d.typeLetter, "V") << id;
        if (d.defaultText.empty()) continue;
        EXPECT_EQ(d.defaultText.find(' '), std::string::npos) << d.defaultText;
        EXPECT_EQ(std::count(d.defaultText.begin(), d.defaultText.end(), ','), 4) << d.defaultText;
        EXPECT_EQ(std::count(d.defaultText.begin(), d.defaultText.end(), '%'), 5) << d.defaultText;
    }
}

// A key the game never reads says so in its help; the keys it does read do not.
TEST(BuiltInCatalogue, HelpSaysWhichKeysTheGameDoesNotRead) {
    const auto saysUnread = [](const Descriptor& d) {
        return ToLowerAscii(d.helpText).find("not read") != std::string::npos;
    };
    const struct {
        std::uint16_t listId;
        const char* key;
        bool unread;
    } listKeys[] = {
        {207, "EnemyHealth", true},    {206, "LZScanRadius", true}, {206, "GameSpeeBias", true},
        {206, "GameSpeedBias", false}, {300, "AIPlayers", true},    {301, "Saboteur", true},
        {301, "Sonar", false},         {304, "Firepower", false},   {316, "Firepower", false},
        {312, "Firepower", true},      {313, "Groundspeed", true},  {314, "DestroyWalls", true},
    };
    for (const auto& c : listKeys) EXPECT_EQ(saysUnread(DescriptorOfListKey(c.listId, c.key)), c.unread) << c.key;
    const struct {
        std::uint16_t objectId;
        const char* key;
        bool unread;
    } objectKeys[] = {
        {2101, "Tracked", true},      {2101, "NoMovingFire", true},  {2101, "Reload", true},
        {2101, "Fraidycat", false},   {2201, "Fraidycat", true},     {2201, "Reload", true},
        {2201, "Tracked", false},     {2201, "NoMovingFire", false}, {2215, "Tracked", true},
        {2215, "NoMovingFire", true}, {2215, "Fraidycat", true},     {2400, "Tracked", true},
        {2400, "Fraidycat", true},    {2314, "NoMovingFire", true},  {2314, "Repairable", false},
        {4002, "Inaccurate", true},   {4002, "Inaccuate", false},    {4013, "RangeLimit", true},
    };
    for (const auto& c : objectKeys)
        EXPECT_EQ(saysUnread(DescriptorOfObjectKey(c.objectId, c.key)), c.unread) << c.objectId << " " << c.key;
}

TEST(BuiltInCatalogue, KeysTypedAsTheGameReadsThem) {
    // OreExplosive is a number to the game: yes and no both read as 0.
    const Descriptor ore = DescriptorOfListKey(204, "OreExplosive");
    EXPECT_EQ(ore.typeLetter, "I");
    EXPECT_EQ(ore.maxText, "1");
    EXPECT_NE(ore.helpText.find("1"), std::string::npos);
    // Where an empty yes/no default would read "no", the new keys carry the game's own value.
    EXPECT_EQ(FormatDefault(DescriptorOfObjectKey(2101, "Crushable"), Catalogue()), "yes");
    EXPECT_EQ(FormatDefault(DescriptorOfObjectKey(2201, "Repairable"), Catalogue()), "yes");
    EXPECT_EQ(FormatDefault(DescriptorOfObjectKey(2338, "Repairable"), Catalogue()), "no");  // BARL: shipped value
    const struct {
        std::uint16_t objectId;
        const char* key;
        const char* shown;
    } builtIn[] = {
        {2101, "Sensors", "yes"},    {2215, "Sensors", "yes"},     {2201, "Sensors", "no"},   // E1, SS, V2RL
        {2314, "BaseNormal", "yes"}, {4002, "AG", "yes"},          {4002, "Shadow", "yes"},   // FACT, Cannon
        {3700, "Recruitable", "no"}, {3703, "Recruitable", "yes"}, {3703, "Scatter", "yes"},  // Sleep: shipped; Attack
    };
    for (const auto& c : builtIn)
        EXPECT_EQ(FormatDefault(DescriptorOfObjectKey(c.objectId, c.key), Catalogue()), c.shown)
            << c.objectId << " " << c.key;
    // The shipped values of the new sections and objects.
    EXPECT_EQ(DescriptorOfListKey(328, "Weapon").defaultText, "55");
    EXPECT_EQ(DescriptorOfListKey(329, "TWIN").defaultText, "9,Allies");
    EXPECT_EQ(DescriptorOfListKey(329, "MAP").defaultText, "");
    EXPECT_EQ(DescriptorOfObjectKey(2346, "Strength").defaultText, "400");  // MISS
    EXPECT_EQ(DescriptorOfObjectKey(2350, "Adjacent").defaultText, "0");    // BRL3
}

TEST(BuiltInCatalogue, V2rlBlockReadsExactly) {
    const char* expected[] = {"M14000|14032|14006,14007;~8100 SCUD", "L2999|3042|3034;~8101", "L2999|3042|2999;~8102",
                              "I0|.|150;~8103", "L3100|3105|3102;~8104", "I0|.|4;~8105", "I0|.|5;~8106", "I0|.|7;~8107",
                              "L3110|3112|3111;~8108", "I0|.|700;~8109", "I0|.|40;~8110", "I0|.|5;~8111",
                              "BY|N|Y;~8112", "BY|N|Y;~8113", "BY|N|;~8114", "BY|N|Y;~8115", "I-1|.|1;~8116",
                              "I0|.|;~8117", "BY|N|;~8118", "BY|N|;~8119", "I0|.|;~8120", "BY|N|;~8121", "BY|N|;~8122",
                              "L2201|2214|2201;~8123", "BY|N|;~8146", "R0|.|0;~8125", "BY|N|N;~8126",
                              // The keys the game reads that the original block lacked, at the game's own values.
                              "BY|N|N;~8142", "BY|N|Y;~8138", "R0|.|;~8143"};
    EXPECT_EQ(Catalogue().Text(2201), "V2RL=SCUD launcher|20200|25");
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(Catalogue().Text(static_cast<std::uint16_t>(20200 + i)), expected[i]) << i;
    EXPECT_FALSE(Catalogue().Has(20230));
    EXPECT_EQ(KeysOfObject(2201)[23], "Image");
}

TEST(BuiltInCatalogue, ObjectEntriesAndDescriptions) {
    EXPECT_EQ(Catalogue().Text(2101), "E1=Rifle soldier|21240|3");
    EXPECT_EQ(Catalogue().Text(3402), "Road=Roadway|40020|5");
    EXPECT_EQ(ParseObjectListEntry(Catalogue().Text(3711))->section, "Area Guard");
    EXPECT_EQ(ParseObjectListEntry(Catalogue().Text(2340))->section, "MINP");
    for (std::uint16_t i = 0; i < 14; ++i)
        EXPECT_EQ(ParseObjectListEntry(Catalogue().Text(2201 + i))->imageIndex, 25 + i);
    const struct {
        std::uint16_t first, last, description;
    } described[] = {{4101, 4143, 9000}, {4000, 4017, 8700}, {3300, 3308, 8600}};
    for (const auto& range : described) {
        for (std::uint16_t id = range.first; id <= range.last; ++id) {
            const auto entry = ParseObjectListEntry(Catalogue().Text(id));
            const std::uint16_t description = range.description + (id - range.first);
            EXPECT_EQ(entry->descriptionId, description) << id;
            const std::string_view text = Catalogue().Text(description);
            ASSERT_GT(text.size(), 1u) << description;
            EXPECT_EQ(text.front(), 'C') << description;
        }
    }
}

TEST(BuiltInCatalogue, LayoutNamesExistingEntries) {
    for (const auto& group : layout::kGeneralGroups) {
        EXPECT_TRUE(Catalogue().Has(group.keyListId)) << group.label;
        EXPECT_TRUE(Catalogue().Has(group.infoId)) << group.label;
    }
    for (std::uint16_t id = 60000; id <= 60031; ++id) EXPECT_EQ(Catalogue().Text(id).back(), '=') << id;
    for (const auto& section : layout::kRootSections) {
        EXPECT_EQ(SectionNameOfEntry(Catalogue().Text(section.nameId)), section.label);
        EXPECT_TRUE(Catalogue().Has(section.infoId)) << section.label;
    }
    for (const auto& section : layout::kDifficulties)
        EXPECT_EQ(SectionNameOfEntry(Catalogue().Text(section.nameId)), section.label);
    EXPECT_EQ(SectionNameOfEntry(Catalogue().Text(layout::kPowerups.nameId)), "Powerups");
    for (const auto& section : layout::kCountries)
        EXPECT_EQ(SectionNameOfEntry(Catalogue().Text(section.nameId)), section.label);
    for (const auto& section : layout::kOtherHouses)
        EXPECT_EQ(SectionNameOfEntry(Catalogue().Text(section.nameId)), section.label);
    const std::string_view ai = Catalogue().Text(9913);
    EXPECT_EQ(ai.back(), '\n');
    EXPECT_EQ(ai.rfind("CComputer Skirmish-Mode behavior controls.", 0), 0u);
}

}  // namespace
}  // namespace morvane

namespace morvane {
namespace {

TEST(ObjectPictures, NamesSixtyNineObjects) {
    EXPECT_EQ(ObjectPictureIds().size(), 69u);
    for (const std::uint16_t without : {2102, 2110, 2111, 2214, 2302, 2315, 2334, 2404, 2901})
        EXPECT_FALSE(HasObjectPicture(without)) << without;
    for (const std::uint16_t with : {2100, 2101, 2109, 2201, 2213, 2219, 2301, 2314, 2336, 2345, 2403, 2406})
        EXPECT_TRUE(HasObjectPicture(with)) << with;
    for (const std::uint16_t id : ObjectPictureIds()) EXPECT_TRUE(BuiltInCatalogue().Has(id)) << id;
}

}  // namespace
}  // namespace morvane
