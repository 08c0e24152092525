#include "gameview/ObjectTable.h"

namespace morvane::gameview {

const std::vector<TableGroup>& TableGroups() {
    // What a modder weighs first for anything that fights: price, toughness, speed and guns,
    // and when and by whom it can be built.
    const auto fighter = [](const char* fourth, const char* seventh) {
        return std::vector<const char*>{"Cost",      "Strength", "Armor",     fourth,  "Primary",
                                        "Secondary", seventh,    "TechLevel", "Owner", "Prerequisite"};
    };
    static const std::vector<TableGroup> groups = {
        {"infantry", "infantry", fighter("Speed", "Sight")},
        {"vehicles", "unit", fighter("Speed", "Sight")},
        {"ships", "vessel", fighter("Speed", "Sight")},
        {"aircraft", "aircraft", fighter("Speed", "Ammo")},
        {"structures", "building", fighter("Power", "Sight")},
        {"weapons", "weapon", {"Damage", "ROF", "Range", "Burst", "Warhead", "Projectile", "Speed"}},
        {"projectiles", "projectile", {"Arm", "ROT", "High", "Arcing", "Inaccuate", "AA", "AG", "Image"}},
        {"warheads", "warhead", {"Verses", "Spread", "Wall", "Wood", "Ore", "Explosion", "InfDeath"}},
    };
    return groups;
}

const TableGroup* FindTableGroup(std::string_view name) {
    for (const TableGroup& group : TableGroups())
        if (name == group.name) return &group;
    return nullptr;
}

std::vector<std::string> AllKeys(const GameKeys& keys, const TableGroup& group) {
    std::vector<std::string> names;
    if (const SectionKind* kind = keys.Kind(group.kind))
        for (const GameKey& key : kind->keys) names.push_back(key.name);
    return names;
}

std::variant<ObjectTable, std::string> BuildObjectTable(const PlayedValues& values, const TableGroup& group,
                                                        const std::vector<std::string>& keys,
                                                        const std::map<std::string, std::string>& labels) {
    const SectionKind* kind = values.Keys().Kind(group.kind);
    if (kind == nullptr) return std::string("the game has no ") + group.name;
    ObjectTable table;
    for (const std::string& asked : keys) {
        const GameKey* key = GameKeys::FindKey(*kind, asked);
        if (key == nullptr) key = GameKeys::FindKeyNoCase(*kind, asked);
        if (key == nullptr) return "the game does not read " + asked + " for " + group.name;
        table.keys.push_back(key->name);
    }
    table.sections = kind->sections;
    table.cells.reserve(table.sections.size());
    for (const std::string& section : table.sections) {
        std::string name;
        if (values.Key(section, "Name") != nullptr) name = values.LastText(section, "Name").value_or("");
        if (const auto label = labels.find(section); name.empty() && label != labels.end()) name = label->second;
        table.names.push_back(std::move(name));
        std::vector<std::string>& row = table.cells.emplace_back();
        row.reserve(table.keys.size());
        for (const std::string& key : table.keys) row.push_back(values.Text(section, key));
    }
    return table;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace morvane::gameview
