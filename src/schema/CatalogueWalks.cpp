#include "schema/CatalogueWalks.h"

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

const std::vector<ObjectKey>& KeptObjectKeys(const StringTable& table, std::uint16_t base) {
    StringTable::Memo& memo = table.Memos();
    const std::lock_guard<std::mutex> hold(memo.lock);
    const auto kept = memo.objectKeys.find(base);
    if (kept != memo.objectKeys.end()) return kept->second;
    return memo.objectKeys.emplace(base, ObjectKeys(table, base)).first->second;
}

std::string SectionNameOfEntry(std::string_view text) { return std::string(TrimLeft(SplitAtFirst(text, '=').before)); }

std::string DescriptionText(std::string_view text) {
    if (!text.empty() && text.front() == 'C') text.remove_prefix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return std::string(text);
}

}  // namespace morvane
