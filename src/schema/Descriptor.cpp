#include "schema/Descriptor.h"

#include "common/TextOps.h"
#include "schema/VersesText.h"

namespace morvane {
namespace {

std::string_view TrimBlanksLeft(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

std::string_view TrimBlanks(std::string_view text) {
    text = TrimBlanksLeft(text);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<std::string_view> EntryOf(std::string_view idText, const StringTable& table) {
    const std::int64_t id = ReadDecimal(idText);
    if (id < 0 || id > 0xFFFF) return std::nullopt;
    return table.Find(static_cast<std::uint16_t>(id));
}

}  // namespace

KeyKind KindOfLetter(char letter) {
    switch (letter) {
        case 'I':
            return KeyKind::Integer;
        case 'R':
            return KeyKind::Real;
        case 'B':
            return KeyKind::YesNo;
        case 'T':
            return KeyKind::TrueFalse;
        case 'P':
            return KeyKind::Percent;
        case 'K':
            return KeyKind::CratePowerup;
        case 'V':
            return KeyKind::Verses;
        case 'L':
            return KeyKind::OneOfList;
        case 'M':
            return KeyKind::ManyOfList;
        case 'C':
            return KeyKind::Heading;
        default:
            return KeyKind::Unknown;
    }
}

bool IsValueKind(KeyKind kind) { return kind != KeyKind::None && kind != KeyKind::Heading && kind != KeyKind::Unknown; }

Descriptor ParseDescriptor(std::string_view text, const StringTable& table) {
    Descriptor descriptor;
    if (text.empty()) return descriptor;
    descriptor.typeLetter = std::string(1, text.front());
    descriptor.kind = KindOfLetter(text.front());
    std::string_view rest = text.substr(1);

    const Split minSplit = SplitAtFirst(rest, '|');
    if (!minSplit.found) {
        if (descriptor.kind == KeyKind::Heading) descriptor.helpText = std::string(TrimBlanksLeft(rest));
        return descriptor;
    }
    descriptor.hasFields = true;
    descriptor.minText = std::string(minSplit.before);
    rest = minSplit.after;

    const Split maxSplit = SplitAtFirst(rest, '|');
    if (maxSplit.found) {
        descriptor.maxText = std::string(maxSplit.before);
        rest = maxSplit.after;
    }

    const Split helpSplit = SplitAtFirst(rest, ';');
    if (helpSplit.found) {
        descriptor.defaultText = std::string(helpSplit.before);
        descriptor.helpText = ResolveHelp(TrimBlanks(helpSplit.after), table);
    }
    return descriptor;
}

std::string ResolveHelp(std::string_view helpPart, const StringTable& table) {
    if (helpPart.empty() || helpPart.front() != '~') return std::string(helpPart);
    const auto entry = EntryOf(helpPart.substr(1), table);
    if (!entry) return {};
    const Split split = SplitAtFirst(*entry, '=');
    if (!split.found) return std::string(*entry);
    return std::string(TrimBlanksLeft(split.after));
}

std::optional<CaptionedHelp> SplitOptionCaption(std::string_view help) {
    const Split split = SplitAtFirst(help, '!');
    if (!split.found) return std::nullopt;
    return CaptionedHelp{std::string(split.before), std::string(TrimBlanksLeft(split.after))};
}

std::string FormatListEntry(std::string_view entry, bool cutAtBar) {
    if (cutAtBar) entry = SplitAtFirst(entry, '|').before;
    const Split split = SplitAtFirst(entry, '=');
    if (!split.found) return std::string(entry);
    std::string shown(split.before);
    shown += " - ";
    shown += split.after;
    return shown;
}

std::string ListEntryName(std::string_view entry) {
    return std::string(Trim(SplitAtFirst(SplitAtFirst(entry, '|').before, '=').before));
}

namespace {

// The NAMEs of the entries listed in an "M" default, joined by ",".
std::string JoinEntryNames(std::string_view ids, const StringTable& table) {
    ids = Trim(ids);
    if (ids.empty()) return {};
    std::string joined;
    bool first = true;
    while (true) {
        const Split split = SplitAtFirst(ids, ',');
        if (!first) joined += ',';
        first = false;
        if (const auto entry = EntryOf(split.before, table)) joined += SplitAtFirst(*entry, '=').before;
        if (!split.found) break;
        ids = split.after;
    }
    return joined;
}

}  // namespace

std::string FormatDefault(const Descriptor& descriptor, const StringTable& table) {
    const std::string& value = descriptor.defaultText;
    switch (descriptor.kind) {
        case KeyKind::Integer:
        case KeyKind::Real:
        case KeyKind::CratePowerup:
        case KeyKind::Verses:
            return value;
        case KeyKind::Percent:
            return value + "%";
        case KeyKind::YesNo:
            return TrimRight(value) == "Y" ? "yes" : "no";
        case KeyKind::TrueFalse:
            return TrimRight(value) == "T" ? "true" : "false";
        case KeyKind::OneOfList: {
            const auto entry = EntryOf(value, table);
            return entry ? FormatListEntry(*entry, true) : std::string();
        }
        case KeyKind::ManyOfList:
            return JoinEntryNames(value, table);
        default:
            return {};
    }
}

std::optional<std::string> DefaultValueForFile(const Descriptor& descriptor, const StringTable& table) {
    if (!descriptor.hasFields || Trim(descriptor.defaultText).empty()) return std::nullopt;
    switch (descriptor.kind) {
        case KeyKind::OneOfList: {
            const auto entry = EntryOf(descriptor.defaultText, table);
            if (!entry) return std::nullopt;
            return ListEntryName(*entry);
        }
        case KeyKind::Verses:
            return VersesForFile(descriptor.defaultText, descriptor.defaultText);
        case KeyKind::Integer:
        case KeyKind::Real:
        case KeyKind::CratePowerup:
        case KeyKind::Percent:
        case KeyKind::YesNo:
        case KeyKind::TrueFalse:
        case KeyKind::ManyOfList:
            return std::string(Trim(FormatDefault(descriptor, table)));
        default:
            return std::nullopt;
    }
}

std::int16_t ReadLowerBound(std::string_view field) { return field == "." ? -32767 : LowSigned16(ReadDecimal(field)); }

std::int16_t ReadUpperBound(std::string_view field) { return field == "." ? 32767 : LowSigned16(ReadDecimal(field)); }

}  // namespace morvane
