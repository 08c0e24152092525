#include "tree/KeyDefaultState.h"

#include "common/TextOps.h"

namespace morvane {

namespace {

bool AllDigits(std::string_view text) {
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// A decimal number ("3", "-2", "3.0", ".5") or a whole percentage ("20%") written so that two
// texts the game reads as the same number are the same: no sign on zero, no leading zeros, no
// trailing zeros after the point. Nothing for any other text ("50.0%" is not a percentage to
// the game: it reads fifty).
std::optional<std::string> SameNumberForm(std::string_view text) {
    if (!text.empty() && text.back() == '%') {
        text.remove_suffix(1);
        if (text.empty() || !AllDigits(text)) return std::nullopt;
        while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
        return std::string(text) + "%";
    }
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const Split point = SplitAtFirst(text, '.');
    std::string_view whole = point.before;
    std::string_view fraction = point.after;
    if ((whole.empty() && fraction.empty()) || !AllDigits(whole) || !AllDigits(fraction)) return std::nullopt;
    while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
    std::string form = whole.empty() ? "0" : std::string(whole);
    if (!fraction.empty()) form += "." + std::string(fraction);
    if (negative && form != "0") form.insert(0, "-");
    return form;
}

bool SameItem(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (EqualsNoCase(a, b)) return true;
    const auto numberA = SameNumberForm(a);
    return numberA && numberA == SameNumberForm(b);
}

}  // namespace

bool SameAsDefault(std::string_view value, std::string_view defaultValue) {
    // Item by item at the commas, so that lists and Verses compare their numbers too.
    while (true) {
        const Split a = SplitAtFirst(value, ',');
        const Split b = SplitAtFirst(defaultValue, ',');
        if (a.found != b.found || !SameItem(a.before, b.before)) return false;
        if (!a.found) return true;
        value = a.after;
        defaultValue = b.after;
    }
}

KeyDefaultState DescribeKeyDefaultState(const ItemFileAccess& items, const Tree& tree, TreeItem item) {
    KeyDefaultState state;
    if (item == kNoItem || tree.ItemHasChildren(item) || tree.GetItemData(item).infoId == 0 ||
        items.FindSectionItem(item) == kNoItem)
        return state;
    state.isKey = true;
    state.defaultValue = items.DefaultValueOf(item).value_or(std::string());
    const std::optional<std::string_view> value = tree.GetItemValue(item);
    state.present = value.has_value();
    state.changed = state.present && !SameAsDefault(*value, state.defaultValue);
    return state;
}

}  // namespace morvane
