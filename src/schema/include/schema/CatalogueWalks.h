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

// A section-name entry "Section=" gives the section: the text before "=", leading white space
// removed; an entry without "=" is used whole.
std::string SectionNameOfEntry(std::string_view text);

// A description entry "Ctext" gives the text after the "C", leading blanks dropped.
std::string DescriptionText(std::string_view text);

}  // namespace morvane
