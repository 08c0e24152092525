// What the catalogue walks keep with a table (see StringTable::Memos).
#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "schema/CatalogueWalks.h"
#include "schema/StringTable.h"

namespace morvane {

struct StringTable::Memo {
    std::mutex lock;
    // The keys of each descriptor block worked out so far, by the block's first id.
    std::unordered_map<std::uint16_t, KeyPlan> objectKeys;
    // The plans of the key lists, by the list's id.
    std::unordered_map<std::uint16_t, KeyPlan> keyLists;
    // The parsed object lists, by first id << 16 | last id.
    std::unordered_map<std::uint32_t, std::vector<ObjectListItem>> objectLists;
};

}  // namespace morvane
