#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "schema/StringTable.h"

namespace morvane::test {

// A small catalogue made of the given entries.
inline StringTable MakeTable(std::initializer_list<std::pair<std::uint16_t, std::string>> entries) {
    StringTable table;
    for (const auto& [id, text] : entries) table.Add(id, text);
    return table;
}

}  // namespace morvane::test
