#include "schema/ObjectLabels.h"

#include "common/TextOps.h"
#include "schema/CatalogueLayout.h"
#include "schema/CatalogueWalks.h"

namespace morvane {

std::map<std::string, std::string> ObjectLabels(const StringTable& catalogue) {
    std::map<std::string, std::string> labels;
    const auto walk = [&](std::uint16_t first, std::uint16_t last) {
        for (std::uint32_t id = first; first != 0 && id <= last; ++id) {
            const auto text = catalogue.Find(static_cast<std::uint16_t>(id));
            if (!text) continue;
            if (const auto entry = ParseObjectListEntry(*text))
                labels.emplace(entry->section, std::string(Trim(entry->label)));
        }
    };
    for (const auto& group : layout::kUnitGroups) {
        walk(group.firstId, group.lastId);
        walk(group.moreFirstId, group.moreLastId);
    }
    for (const auto& group : layout::kStructureGroups) {
        walk(group.firstId, group.lastId);
        walk(group.moreFirstId, group.moreLastId);
    }
    for (const auto& category : layout::kObjectCategories) walk(category.firstId, category.lastId);
    return labels;
}

}  // namespace morvane
