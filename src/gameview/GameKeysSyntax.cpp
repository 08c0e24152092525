#include "GameKeysSyntax.h"

#include <algorithm>

namespace morvane::game_keys_syntax {
namespace {

std::vector<std::string_view> Fields(std::string_view line, char mark) {
    std::vector<std::string_view> fields;
    while (true) {
        const Split split = SplitAtFirst(line, mark);
        fields.push_back(split.before);
        if (!split.found) return fields;
        line = split.after;
    }
}

Kind* KindNamed(Table& table, std::string_view name) {
    for (Kind& kind : table.kinds)
        if (kind.name == name) return &kind;
    return nullptr;
}

}  // namespace

std::optional<LineError> ReadTable(std::string_view text, Table& out,
                                   const std::function<bool(std::string_view)>& knownReading) {
    out = Table();
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const Split split = SplitAtFirst(text, '\n');
        const std::string_view line = TrimRight(split.before);
        text = split.after;
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string_view> fields = Fields(line, '\t');
        const auto fault = [lineNumber](std::string what) { return LineError{lineNumber, std::move(what)}; };
        if (fields[0] == "kind" && fields.size() == 4) {
            Kind kind;
            kind.name = fields[1];
            kind.read = fields[2] == "read";
            for (std::string_view section : Fields(fields[3], ',')) kind.sections.emplace_back(section);
            out.kinds.push_back(std::move(kind));
        } else if (fields[0] == "key" && fields.size() == 5) {
            Kind* kind = KindNamed(out, fields[1]);
            if (kind == nullptr) return fault("key of an undeclared kind " + std::string(fields[1]));
            if (knownReading && !knownReading(fields[3])) return fault("unknown reading " + std::string(fields[3]));
            kind->keys.push_back({std::string(fields[2]), std::string(fields[3]), std::string(fields[4])});
        } else if (fields[0] == "spelling" && fields.size() == 4) {
            Kind* kind = KindNamed(out, fields[1]);
            const auto hasKey = [&](std::string_view name) {
                return std::any_of(kind->keys.begin(), kind->keys.end(),
                                   [&](const Key& key) { return key.name == name; });
            };
            if (kind == nullptr || !hasKey(fields[3]))
                return fault("spelling of a key the table does not have: " + std::string(fields[3]));
            kind->spellings.emplace_back(fields[2], fields[3]);
        } else if (fields[0] == "name" && fields.size() == 3 && (fields[1] == "sound" || fields[1] == "anim")) {
            (fields[1] == "sound" ? out.sounds : out.animations).emplace_back(fields[2]);
        } else {
            return fault("neither a kind, a key, a spelling nor a name line");
        }
    }
    return std::nullopt;
}

std::vector<std::uint16_t> SearchOrder(std::size_t count, const std::function<std::string_view(std::size_t)>& nameAt) {
    std::vector<std::uint16_t> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::uint16_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint16_t a, std::uint16_t b) { return CompareNoCase(nameAt(a), nameAt(b)) < 0; });
    return order;
}

}  // namespace morvane::game_keys_syntax
