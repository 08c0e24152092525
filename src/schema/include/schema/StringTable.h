#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace morvane {

// The schema catalogue: texts addressed by 16-bit ids. An id without a text is a free id;
// walks over consecutive ids stop at the first one.
class StringTable {
public:
    // Adds an entry; returns false when the id already has one (the entry is not replaced).
    bool Add(std::uint16_t id, std::string text);

    bool Has(std::uint16_t id) const;
    // The text of an id, or nothing for a free id.
    std::optional<std::string_view> Find(std::uint16_t id) const;
    // The text of an id, or the empty text for a free id.
    std::string_view Text(std::uint16_t id) const;

    std::size_t Size() const { return m_entries.size(); }

private:
    std::unordered_map<std::uint16_t, std::string> m_entries;
};

}  // namespace morvane
