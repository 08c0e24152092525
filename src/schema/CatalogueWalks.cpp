#include "schema/CatalogueWalks.h"

#include <algorithm>

#include "TableMemo.h"
#include "common/TextOps.h"

namespace morvane {

std::vector<KeyListLine> SplitKeyList(std::string_view text) {
    std::vector<KeyListLine> lines;
    Split split = SplitAtFirst(text, '\n');
    while (split.found) {
        const Split fields = SplitAtFirst(split.before, '|');
        KeyListLine line{std::string(fields.before), 0};
        if (fields.found) line.descriptorId = LowUnsigned16(ReadDecimal(fields.after));
        lines.push_back(std::move(line));
        split = SplitAtFirst(split.after, '\n');
    }
    return lines;
}

std::vector<std::uint16_t> WalkListRange(const StringTable& table, std::uint16_t low,
                                         std::optional<std::uint16_t> high) {
    std::vector<std::uint16_t> ids;
    const std::uint32_t last = high ? *high : 0xFFFFu;
    for (std::uint32_t id = low; id <= last; ++id) {
        if (!table.Has(static_cast<std::uint16_t>(id))) break;
        ids.push_back(static_cast<std::uint16_t>(id));
    }
    return ids;
}

std::optional<ObjectListEntry> ParseObjectListEntry(std::string_view text) {
    text = TrimRight(text);
    const Split nameSplit = SplitAtFirst(text, '=');
    if (!nameSplit.found) return std::nullopt;
    ObjectListEntry entry;
    entry.section = std::string(Trim(nameSplit.before));

    const Split labelSplit = SplitAtFirst(nameSplit.after, '|');
    if (!labelSplit.found) {
        entry.label = std::string(TrimLeft(nameSplit.after));
        return entry;
    }
    const Split description = SplitAtFirst(labelSplit.before, '~');
    entry.label = std::string(description.before);
    if (description.found) entry.descriptionId = LowUnsigned16(ReadDecimal(description.after));

    entry.hasBlock = true;
    const Split numbers = SplitAtFirst(labelSplit.after, '|');
    entry.descriptorBase = LowUnsigned16(ReadDecimal(numbers.before));
    if (numbers.found) {
        const std::int64_t image = ReadDecimal(numbers.after);
        if (image != 0) entry.imageIndex = static_cast<int>(image);
    }
    return entry;
}

std::optional<KeyName> ReadKeyName(std::string_view text) {
    const Split split = SplitAtFirst(text, '=');
    if (!split.found) return std::nullopt;
    return KeyName{std::string(TrimRight(split.before)), std::string(split.after)};
}

std::vector<std::uint16_t> WalkDescriptorBlock(const StringTable& table, std::uint16_t base) {
    std::vector<std::uint16_t> ids;
    for (std::uint32_t id = base; id <= 0xFFFFu; ++id) {
        const auto text = table.Find(static_cast<std::uint16_t>(id));
        if (!text || text->empty()) break;
        ids.push_back(static_cast<std::uint16_t>(id));
    }
    return ids;
}

std::vector<ObjectKey> ObjectKeys(const StringTable& table, std::uint16_t base) {
    std::vector<ObjectKey> keys;
    for (const std::uint16_t id : WalkDescriptorBlock(table, base)) {
        const Split reference = SplitAtFirst(TrimRight(table.Text(id)), '~');
        if (!reference.found) continue;
        const std::int64_t keyNameId = ReadDecimal(reference.after);
        if (keyNameId < 0 || keyNameId > 0xFFFF) continue;
        const auto entry = table.Find(static_cast<std::uint16_t>(keyNameId));
        if (!entry) continue;
        const Split name = SplitAtFirst(*entry, '=');  // the key name entry, as ReadKeyName reads it
        if (!name.found) continue;
        keys.push_back({id, static_cast<std::uint16_t>(keyNameId), std::string(TrimRight(name.before))});
    }
    return keys;
}

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::uint32_t NameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;  // FNV-1a over the lower-case bytes
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(LowerAscii(c));
        hash *= 16777619u;
    }
    return hash;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

// Kept in `map` under `id`, made by `make` the first time.
template <class Map, class Make>
const typename Map::mapped_type& Kept(std::mutex& lock, Map& map, typename Map::key_type id, Make make) {
    const std::lock_guard<std::mutex> hold(lock);
    const auto kept = map.find(id);
    if (kept != map.end()) return kept->second;
    return map.emplace(id, make()).first->second;
}

}  // namespace

KeyPlan::KeyPlan(std::vector<ObjectKey> keys) : m_keys(std::move(keys)) {
    const auto count = static_cast<std::uint32_t>(m_keys.size());
    m_sorted.resize(count);
    for (std::uint32_t position = 0; position < count; ++position) m_sorted[position] = position;
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [this](std::uint32_t a, std::uint32_t b) {
        return CompareNoCase(m_keys[a].key, m_keys[b].key) < 0;
    });

    for (std::size_t at = 1; at < m_sorted.size(); ++at) {
        const std::string_view a = m_keys[m_sorted[at - 1]].key;
        const std::string_view b = m_keys[m_sorted[at]].key;
        // A label "a = value" against "b...": the blank after a decides when b goes on past it.
        if (CompareNoCase(a, b) == 0 || (b.size() > a.size() && SameName(a, b.substr(0, a.size())) &&
                                         static_cast<unsigned char>(b[a.size()]) <= ' '))
            m_labelsFollowNames = false;
    }

    std::size_t size = 8;
    while (size < 2 * static_cast<std::size_t>(count)) size *= 2;
    m_slots.assign(size, kNone);
    m_next.assign(count, kNone);
    m_names.reserve(count);
    m_hashes.reserve(count);
    for (const ObjectKey& key : m_keys) {
        m_names.push_back(Trim(key.key));
        m_hashes.push_back(NameHash(m_names.back()));
    }
    std::vector<std::uint32_t> last(count, kNone);  // by first position: the last one so far
    for (std::uint32_t position = 0; position < count; ++position) {
        const std::string_view name = m_names[position];
        for (std::size_t slot = m_hashes[position] & (size - 1);; slot = (slot + 1) & (size - 1)) {
            const std::uint32_t first = m_slots[slot];
            if (first == kNone) {
                m_slots[slot] = position;
                last[position] = position;
                break;
            }
            if (m_hashes[first] == m_hashes[position] && SameName(m_names[first], name)) {
                m_next[last[first]] = position;
                last[first] = position;
                break;
            }
        }
    }
}

std::uint32_t KeyPlan::Find(std::string_view name) const {
    const std::size_t mask = m_slots.size() - 1;
    const std::uint32_t hash = NameHash(name);
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t first = m_slots[slot];
        if (first == kNone || (m_hashes[first] == hash && SameName(m_names[first], name))) return first;
    }
}

const KeyPlan& KeptObjectKeyPlan(const StringTable& table, std::uint16_t base) {
    StringTable::Memo& memo = table.Memos();
    return Kept(memo.lock, memo.objectKeys, base, [&] { return KeyPlan(ObjectKeys(table, base)); });
}

const std::vector<ObjectKey>& KeptObjectKeys(const StringTable& table, std::uint16_t base) {
    return KeptObjectKeyPlan(table, base).Keys();
}

const KeyPlan& KeptKeyListPlan(const StringTable& table, std::uint16_t keyListId) {
    StringTable::Memo& memo = table.Memos();
    return Kept(memo.lock, memo.keyLists, keyListId, [&] {
        std::vector<ObjectKey> keys;
        for (KeyListLine& line : SplitKeyList(table.Text(keyListId)))
            keys.push_back({line.descriptorId, 0, std::move(line.key)});
        return KeyPlan(std::move(keys));
    });
}

const std::vector<ObjectListItem>& KeptObjectList(const StringTable& table, std::uint16_t firstId,
                                                  std::uint16_t lastId) {
    StringTable::Memo& memo = table.Memos();
    const std::uint32_t id = static_cast<std::uint32_t>(firstId) << 16 | lastId;
    return Kept(memo.lock, memo.objectLists, id, [&] {
        std::vector<ObjectListItem> items;
        for (std::uint32_t entryId = firstId; entryId <= lastId; ++entryId) {
            const auto text = table.Find(static_cast<std::uint16_t>(entryId));
            if (!text || text->empty()) continue;
            if (auto entry = ParseObjectListEntry(*text))
                items.push_back({static_cast<std::uint16_t>(entryId), std::move(*entry)});
        }
        return items;
    });
}

std::string SectionNameOfEntry(std::string_view text) { return std::string(TrimLeft(SplitAtFirst(text, '=').before)); }

std::string DescriptionText(std::string_view text) {
    if (!text.empty() && text.front() == 'C') text.remove_prefix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return std::string(text);
}

}  // namespace morvane
