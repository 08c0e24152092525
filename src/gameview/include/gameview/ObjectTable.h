#pragma once

#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "gameview/PlayedValues.h"

namespace morvane::gameview {

// A group of objects a modder compares side by side, with the columns it opens with.
struct TableGroup {
    const char* name;  // as the command line and the settings name it: "vehicles"
    const char* kind;  // the game's kind of section: "unit"
    std::vector<const char*> defaultKeys;
};

// infantry, vehicles, ships, aircraft, structures, weapons, projectiles, warheads.
const std::vector<TableGroup>& TableGroups();
const TableGroup* FindTableGroup(std::string_view name);

// One row per object of the group, in the game's order, one column per key: the values the
// game plays, as `effective` prints them.
struct ObjectTable {
    std::vector<std::string> keys;  // as the game spells them
    std::vector<std::string> sections;
    std::vector<std::string> names;               // per row: what the game calls the object
    std::vector<std::vector<std::string>> cells;  // [row][column]
};

// Every key the game reads for the group's objects, in its own order.
std::vector<std::string> AllKeys(const GameKeys& keys, const TableGroup& group);

// The table of `group` for the keys asked (letter case aside: "strength" is Strength). A key
// the game does not read for these objects gives a message naming it instead. An object's name
// is the Name a file gives it, else its label in `labels` (by section).
std::variant<ObjectTable, std::string> BuildObjectTable(const PlayedValues& values, const TableGroup& group,
                                                        const std::vector<std::string>& keys,
                                                        const std::map<std::string, std::string>& labels = {});

// One CSV field: quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

}  // namespace morvane::gameview
