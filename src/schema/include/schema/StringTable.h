#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace morvane {

// The schema catalogue: texts addressed by 16-bit ids. An id without a text is a free id;
// walks over consecutive ids stop at the first one.
class StringTable {
public:
    // Texts compiled into the program: `count` ids in ascending order, the text of the id at
    // index i at text[offsets[i], offsets[i + 1]). The arrays must outlive the table.
    struct Compiled {
        const std::uint16_t* ids = nullptr;
        const std::uint32_t* offsets = nullptr;
        const char* text = nullptr;
        std::size_t count = 0;
    };

    StringTable();
    // A table over compiled texts, without copying them; Add() may still give free ids a text.
    explicit StringTable(const Compiled& compiled);
    StringTable(const StringTable& other);
    StringTable& operator=(const StringTable& other);
    StringTable(StringTable&&) noexcept = default;
    StringTable& operator=(StringTable&&) noexcept = default;
    ~StringTable();

    // Adds an entry; returns false when the id already has one (the entry is not replaced).
    bool Add(std::uint16_t id, std::string text);

    bool Has(std::uint16_t id) const { return Find(id).has_value(); }
    // The text of an id, or nothing for a free id.
    std::optional<std::string_view> Find(std::uint16_t id) const;
    // The text of an id, or the empty text for a free id.
    std::string_view Text(std::uint16_t id) const;

    std::size_t Size() const { return m_compiled.count + m_entries.size(); }

    // What the catalogue walks work out from the texts once and keep with the table (the keys
    // of each descriptor block); defined with them, emptied when an entry is added.
    struct Memo;
    Memo& Memos() const;

private:
    std::optional<std::string_view> FindCompiled(std::uint16_t id) const;

    Compiled m_compiled;
    std::unordered_map<std::uint16_t, std::string> m_entries;
    mutable std::shared_ptr<Memo> m_memo;  // never shared between tables: a copy starts afresh
};

}  // namespace morvane
