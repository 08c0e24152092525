#include "schema/StringTable.h"

namespace morvane {

bool StringTable::Add(std::uint16_t id, std::string text) { return m_entries.emplace(id, std::move(text)).second; }

bool StringTable::Has(std::uint16_t id) const { return m_entries.count(id) != 0; }

std::optional<std::string_view> StringTable::Find(std::uint16_t id) const {
    const auto found = m_entries.find(id);
    if (found == m_entries.end()) return std::nullopt;
    return std::string_view(found->second);
}

std::string_view StringTable::Text(std::uint16_t id) const { return Find(id).value_or(std::string_view()); }

}  // namespace morvane
