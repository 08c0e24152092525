#include "schema/StringTable.h"

#include <algorithm>

#include "TableMemo.h"

namespace morvane {

StringTable::StringTable() : m_memo(std::make_shared<Memo>()) {}
StringTable::StringTable(const Compiled& compiled) : m_compiled(compiled), m_memo(std::make_shared<Memo>()) {}
StringTable::StringTable(const StringTable& other)
    : m_compiled(other.m_compiled), m_entries(other.m_entries), m_memo(std::make_shared<Memo>()) {}
StringTable& StringTable::operator=(const StringTable& other) {
    if (this != &other) {
        m_compiled = other.m_compiled;
        m_entries = other.m_entries;
        m_memo = std::make_shared<Memo>();
    }
    return *this;
}
StringTable::~StringTable() = default;

StringTable::Memo& StringTable::Memos() const {
    if (!m_memo) m_memo = std::make_shared<Memo>();  // a table that was moved from and is used again
    return *m_memo;
}

bool StringTable::Add(std::uint16_t id, std::string text) {
    if (FindCompiled(id)) return false;
    if (!m_entries.emplace(id, std::move(text)).second) return false;
    m_memo = std::make_shared<Memo>();  // what was worked out may have changed
    return true;
}

std::optional<std::string_view> StringTable::FindCompiled(std::uint16_t id) const {
    const std::uint16_t* end = m_compiled.ids + m_compiled.count;
    const std::uint16_t* found = std::lower_bound(m_compiled.ids, end, id);
    if (found == end || *found != id) return std::nullopt;
    const auto index = static_cast<std::size_t>(found - m_compiled.ids);
    return std::string_view(m_compiled.text + m_compiled.offsets[index],
                            m_compiled.offsets[index + 1] - m_compiled.offsets[index]);
}

std::optional<std::string_view> StringTable::Find(std::uint16_t id) const {
    if (m_compiled.count != 0)
        if (auto text = FindCompiled(id)) return text;
    if (m_entries.empty()) return std::nullopt;
    const auto found = m_entries.find(id);
    if (found == m_entries.end()) return std::nullopt;
    return std::string_view(found->second);
}

std::string_view StringTable::Text(std::uint16_t id) const { return Find(id).value_or(std::string_view()); }

}  // namespace morvane
