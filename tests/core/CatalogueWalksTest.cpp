#include <gtest/gtest.h>

#include "TableFixture.h"
#include "schema/CatalogueWalks.h"

namespace morvane {
namespace {

TEST(SplitKeyList, ReadsOnlyLinesEndedByLineFeed) {
    const auto lines = SplitKeyList("CrateMinimum|10000\nNoBar\n\nWeird| 77x\nLost|5");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].key, "CrateMinimum");
    EXPECT_EQ(lines[0].descriptorId, 10000);
    EXPECT_EQ(lines[1].key, "NoBar");
    EXPECT_EQ(lines[1].descriptorId, 0);
    EXPECT_EQ(lines[2].key, "");  // an empty line still names a key
    EXPECT_EQ(lines[3].key, "Weird");
    EXPECT_EQ(lines[3].descriptorId, 77);
    EXPECT_TRUE(SplitKeyList("NoLineFeed|1").empty());
}

TEST(SplitKeyList, TakesDescriptorIdModulo65536) {
    const auto lines = SplitKeyList("Big|65537\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].descriptorId, 1);
}

TEST(WalkListRange, StopsAtHighIdOrFirstFreeId) {
    const StringTable table =
        test::MakeTable({{3100, "None=None"}, {3101, "Wood=Wood"}, {3102, "Light=Light"}, {3104, "Concrete=Concrete"}});
    EXPECT_EQ(WalkListRange(table, 3100, 3105), (std::vector<std::uint16_t>{3100, 3101, 3102}));
    EXPECT_EQ(WalkListRange(table, 3100, 3101), (std::vector<std::uint16_t>{3100, 3101}));
    EXPECT_EQ(WalkListRange(table, 3100, std::nullopt), (std::vector<std::uint16_t>{3100, 3101, 3102}));
    EXPECT_TRUE(WalkListRange(table, 3103, 3104).empty());
    const StringTable top = test::MakeTable({{65534, "a"}, {65535, "b"}});
    EXPECT_EQ(WalkListRange(top, 65534, std::nullopt).size(), 2u);
}

TEST(ParseObjectListEntry, Table) {
    const struct {
        const char* text;
        const char* section;
        const char* label;
        std::uint16_t description;
        std::uint16_t base;
        int image;
        bool hasBlock;
    } cases[] = {
        {"HE=HE~8601|39010 |5", "HE", "HE", 8601, 39010, 5, true},
        {"E1=Rifle soldier|21240|3", "E1", "Rifle soldier", 0, 21240, 3, true},
        {"E1=Rifle soldier|21240|0", "E1", "Rifle soldier", 0, 21240, 3, true},
        {"E1=Rifle soldier|21240", "E1", "Rifle soldier", 0, 21240, 3, true},
        {"Area Guard=Area Guard|42110|42", "Area Guard", "Area Guard", 0, 42110, 42, true},
        {"Road=Roadway |40020|5", "Road", "Roadway ", 0, 40020, 5, true},
        {"  V2RL  =SCUD launcher|20200|25   ", "V2RL", "SCUD launcher", 0, 20200, 25, true},
        {"ODD=   Label without bars  ", "ODD", "Label without bars", 0, 0, 3, false},
    };
    for (const auto& c : cases) {
        const auto entry = ParseObjectListEntry(c.text);
        ASSERT_TRUE(entry) << c.text;
        EXPECT_EQ(entry->section, c.section) << c.text;
        EXPECT_EQ(entry->label, c.label) << c.text;
        EXPECT_EQ(entry->descriptionId, c.description) << c.text;
        EXPECT_EQ(entry->descriptorBase, c.base) << c.text;
        EXPECT_EQ(entry->imageIndex, c.image) << c.text;
        EXPECT_EQ(entry->hasBlock, c.hasBlock) << c.text;
    }
    EXPECT_FALSE(ParseObjectListEntry("NoEqualsSign|1|2"));
}

TEST(ObjectKeys, SkipsDescriptorsWithoutUsableKeyName) {
    const StringTable table = test::MakeTable({
        {500, "I0|.|1;~8103"},
        {501, "BY|N|;no reference"},
        {502, "BY|N|;~9999"},  // free id
        {503, "BY|N|;~8200"},  // entry without "="
        {504, "M14000|14015|;~8100 Veh MIne"},
        {505, "I0|.|2;~8103"},  // the same key twice gives two keys
        {8103, "Strength =Strength (hit points) of this object"},
        {8100, "Prerequisite =List of buildings"},
        {8200, "no equals sign here"},
    });
    const auto keys = ObjectKeys(table, 500);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].key, "Strength");
    EXPECT_EQ(keys[0].descriptorId, 500);
    EXPECT_EQ(keys[0].keyNameId, 8103);
    EXPECT_EQ(keys[1].key, "Prerequisite");
    EXPECT_EQ(keys[1].descriptorId, 504);
    EXPECT_EQ(keys[2].descriptorId, 505);
    EXPECT_EQ(WalkDescriptorBlock(table, 500).size(), 6u);
}

// The keys kept with a table are worked out again when an entry is added: a longer block, or a
// key name that now exists, must show.
TEST(KeptObjectKeys, FollowTheTableWhenEntriesAreAdded) {
    StringTable table = test::MakeTable({
        {500, "I0|.|1;~8103"},
        {501, "BY|N|;~8100"},  // no key name entry yet
        {8103, "Strength =hit points"},
    });
    const auto names = [](const std::vector<ObjectKey>& keys) {
        std::vector<std::string> all;
        for (const ObjectKey& key : keys) all.push_back(key.key);
        return all;
    };
    EXPECT_EQ(names(KeptObjectKeys(table, 500)), std::vector<std::string>{"Strength"});
    EXPECT_EQ(&KeptObjectKeys(table, 500), &KeptObjectKeys(table, 500));  // worked out once

    table.Add(8100, "Prerequisite =buildings");
    table.Add(502, "I0|.|1;~8104");
    table.Add(8104, "Cost =credits");
    EXPECT_EQ(names(KeptObjectKeys(table, 500)), (std::vector<std::string>{"Strength", "Prerequisite", "Cost"}));
    EXPECT_EQ(names(KeptObjectKeys(table, 500)), names(ObjectKeys(table, 500)));
    // A copy works its keys out for itself.
    StringTable copy = table;
    copy.Add(503, "I0|.|1;~8103");
    EXPECT_EQ(KeptObjectKeys(copy, 500).size(), 4u);
    EXPECT_EQ(KeptObjectKeys(table, 500).size(), 3u);
}

TEST(CatalogueEntries, SectionNamesAndDescriptions) {
    EXPECT_EQ(SectionNameOfEntry("General="), "General");
    EXPECT_EQ(SectionNameOfEntry("E1=Rifle soldier|21240|3"), "E1");
    EXPECT_EQ(SectionNameOfEntry("  Spaced ="), "Spaced ");
    EXPECT_EQ(SectionNameOfEntry("NoEquals"), "NoEquals");
    EXPECT_EQ(DescriptionText("CThe General Settings"), "The General Settings");
    EXPECT_EQ(DescriptionText("C  Indented"), "Indented");
    const auto keyName = ReadKeyName("Strength =Strength (hit points) of this object");
    ASSERT_TRUE(keyName);
    EXPECT_EQ(keyName->key, "Strength");
    EXPECT_EQ(keyName->help, "Strength (hit points) of this object");
}

}  // namespace
}  // namespace morvane
