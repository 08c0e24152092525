#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schema/StringTable.h"

namespace morvane {

// One line of a key list: "Key|descriptorId". A line without "|" is a key without descriptor.
struct KeyListLine {
    std::string key;
    std::uint16_t descriptorId = 0;
};

// The lines of a key list in stored order. Only lines ended by a line feed count.
std::vector<KeyListLine> SplitKeyList(std::string_view text);

// The ids from `low` to `high` inclusive that have a string, stopping at the first free id.
// Without `high` the walk runs until the first free id.
std::vector<std::uint16_t> WalkListRange(const StringTable& table, std::uint16_t low,
                                         std::optional<std::uint16_t> high);

// An object-list entry, "NAME=Label~description|descriptorBase|imageIndex".
struct ObjectListEntry {
    std::string section;              // the INI section of the object
    std::string label;                // as shown in the tree, not trimmed
    std::uint16_t descriptionId = 0;  // 0 when the label names none
    std::uint16_t descriptorBase = 0;
    int imageIndex = 3;
    bool hasBlock = false;  // false for an entry without "|": no descriptors
};
std::optional<ObjectListEntry> ParseObjectListEntry(std::string_view text);

// A key-name entry, "Key =help text".
struct KeyName {
    std::string key;
    std::string help;
};
std::optional<KeyName> ReadKeyName(std::string_view text);

// The ids of an object's descriptor block: from `base` up to the first free (or empty) id.
std::vector<std::uint16_t> WalkDescriptorBlock(const StringTable& table, std::uint16_t base);

// The keys an object's descriptor block names, in block order. A descriptor without a "~"
// reference, or whose reference names no key-name entry with "=", names no key.
struct ObjectKey {
    std::uint16_t descriptorId = 0;
    std::uint16_t keyNameId = 0;
    std::string key;
};
std::vector<ObjectKey> ObjectKeys(const StringTable& table, std::uint16_t base);
// The same, worked out once per block and table and kept with the table: every tree build
// after the first reads them from there.
const std::vector<ObjectKey>& KeptObjectKeys(const StringTable& table, std::uint16_t base);

// A list of keys as the tree shows it under a section or an object, with what a tree build
// needs besides the keys: the order of their names and a lookup by name that allocates nothing.
class KeyPlan {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    explicit KeyPlan(std::vector<ObjectKey> keys);
    // Moved, never copied: the names look into the keys, which a move of the vector keeps.
    KeyPlan(KeyPlan&&) noexcept = default;
    KeyPlan& operator=(KeyPlan&&) noexcept = default;
    KeyPlan(const KeyPlan&) = delete;
    KeyPlan& operator=(const KeyPlan&) = delete;

    const std::vector<ObjectKey>& Keys() const { return m_keys; }
    // The positions of the keys in ascending order of their names, compared without regard to
    // case; keys of equal names keep their list order.
    const std::vector<std::uint32_t>& SortedOrder() const { return m_sorted; }
    // The first position whose key has this name (compared without regard to ASCII case, white
    // space around the list's names ignored), or kNone; NextSameName gives the next such one.
    std::uint32_t Find(std::string_view name) const;
    std::uint32_t NextSameName(std::uint32_t position) const { return m_next[position]; }
    // Whether items labelled "Key" or "Key = value", added in SortedOrder, are in the order of
    // their labels whatever the values: no two names are equal without regard to case, and
    // where one name begins another, the longer goes on with a letter after the blank.
    bool LabelsFollowNames() const { return m_labelsFollowNames; }

private:
    std::vector<ObjectKey> m_keys;
    std::vector<std::string_view> m_names;  // the keys without white space around them
    std::vector<std::uint32_t> m_hashes;
    bool m_labelsFollowNames = true;
    std::vector<std::uint32_t> m_sorted;
    std::vector<std::uint32_t> m_next;
    std::vector<std::uint32_t> m_slots;  // open addressing over first positions; kNone is free
};

// The plan of an object's descriptor block / of a key list (lines "Key|descriptorId", the key
// name id 0), worked out once per table and kept with it like KeptObjectKeys.
const KeyPlan& KeptObjectKeyPlan(const StringTable& table, std::uint16_t base);
const KeyPlan& KeptKeyListPlan(const StringTable& table, std::uint16_t keyListId);

// The entries of the object list from `firstId` to `lastId` that parse, each with its id, in id
// order; ids without a text or with an empty one are skipped. Kept with the table.
struct ObjectListItem {
    std::uint16_t id = 0;
    ObjectListEntry entry;
};
const std::vector<ObjectListItem>& KeptObjectList(const StringTable& table, std::uint16_t firstId,
                                                  std::uint16_t lastId);

// A section-name entry "Section=" gives the section: the text before "=", leading white space
// removed; an entry without "=" is used whole.
std::string SectionNameOfEntry(std::string_view text);

// A description entry "Ctext" gives the text after the "C", leading blanks dropped.
std::string DescriptionText(std::string_view text);

}  // namespace morvane
