#include "schema/DefaultRulesFile.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "common/TextOps.h"
#include "schema/CatalogueLayout.h"
#include "schema/CatalogueWalks.h"
#include "schema/Descriptor.h"

namespace morvane {
namespace {

struct KeyRef {
    std::string key;
    std::uint16_t descriptorId;
};

class RulesWriter {
public:
    RulesWriter(const StringTable& table, const KeepKey& keep) : m_table(table), m_keep(keep) {}

    void Section(const std::string& name, const std::vector<KeyRef>& keys) {
        std::vector<std::string> written;
        std::string lines;
        for (const KeyRef& ref : keys) {
            if (m_keep && !m_keep(name, ref.key)) continue;
            const auto value = DefaultValueForFile(ParseDescriptor(m_table.Text(ref.descriptorId), m_table), m_table);
            if (!value) continue;
            const bool seen = std::any_of(written.begin(), written.end(),
                                          [&](const std::string& key) { return EqualsNoCase(key, ref.key); });
            if (seen) continue;
            written.push_back(ref.key);
            lines += ref.key + "=" + *value + "\r\n";
        }
        if (lines.empty()) return;
        m_out += "\r\n[" + name + "]\r\n" + lines;
    }

    std::vector<KeyRef> KeyListKeys(std::uint16_t keyListId) const {
        std::vector<KeyRef> keys;
        for (auto& line : SplitKeyList(m_table.Text(keyListId))) keys.push_back({line.key, line.descriptorId});
        return keys;
    }

    void SectionBranch(const layout::SectionBranch& branch) { Section(branch.label, KeyListKeys(branch.keyListId)); }

    // The objects of list ranges in the order the tree shows them: by label, ignoring case.
    void Objects(std::initializer_list<std::pair<std::uint16_t, std::uint16_t>> ranges) {
        std::vector<ObjectListEntry> objects;
        for (const auto& [firstId, lastId] : ranges) {
            if (firstId == 0) continue;  // a group without a second range
            for (std::uint32_t id = firstId; id <= lastId; ++id) {
                const auto text = m_table.Find(static_cast<std::uint16_t>(id));
                if (!text || text->empty()) continue;
                if (auto entry = ParseObjectListEntry(*text)) objects.push_back(std::move(*entry));
            }
        }
        std::stable_sort(objects.begin(), objects.end(), [](const ObjectListEntry& a, const ObjectListEntry& b) {
            return CompareNoCase(a.label, b.label) < 0;
        });
        for (const ObjectListEntry& object : objects) {
            if (!object.hasBlock) continue;
            std::vector<KeyRef> keys;
            for (auto& key : ObjectKeys(m_table, object.descriptorBase)) keys.push_back({key.key, key.descriptorId});
            Section(object.section, keys);
        }
    }

    std::string Take() { return std::move(m_out); }

private:
    const StringTable& m_table;
    const KeepKey& m_keep;
    std::string m_out = "; Red Alert rules file made by Morvane: every key it knows, at its default value.\r\n";
};

}  // namespace

std::string MakeDefaultRulesFile(const StringTable& table, const KeepKey& keep) {
    RulesWriter writer(table, keep);

    std::vector<KeyRef> general;
    for (const auto& group : layout::kGeneralGroups) {
        auto keys = writer.KeyListKeys(group.keyListId);
        general.insert(general.end(), keys.begin(), keys.end());
    }
    writer.Section(layout::kGeneralSection, general);

    for (const auto& section : layout::kRootSections) writer.SectionBranch(section);

    const auto sortedSections = [&writer](std::vector<layout::SectionBranch> sections) {
        std::stable_sort(sections.begin(), sections.end(),
                         [](const auto& a, const auto& b) { return CompareNoCase(a.label, b.label) < 0; });
        for (const auto& section : sections) writer.SectionBranch(section);
    };
    sortedSections({std::begin(layout::kCountries), std::end(layout::kCountries)});
    sortedSections({std::begin(layout::kOtherHouses), std::end(layout::kOtherHouses)});
    for (const auto& difficulty : layout::kDifficulties) writer.SectionBranch(difficulty);

    const auto groupObjects = [&writer](const layout::ObjectGroup& group) {
        writer.Objects({{group.firstId, group.lastId}, {group.moreFirstId, group.moreLastId}});
    };
    for (const auto& group : layout::kUnitGroups) groupObjects(group);
    for (const auto& group : layout::kStructureGroups) groupObjects(group);
    for (const auto& category : layout::kObjectCategories) writer.Objects({{category.firstId, category.lastId}});
    writer.SectionBranch(layout::kPowerups);
    return writer.Take();
}

}  // namespace morvane
