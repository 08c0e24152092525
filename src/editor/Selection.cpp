// Selecting a tree item: which controls the item's descriptor calls for, and what they show.
#include <algorithm>

#include "common/TextOps.h"
#include "editor/ControlIds.h"
#include "editor/MatchAllPlan.h"
#include "editor/ValueEditor.h"
#include "gameview/GameValues.h"
#include "schema/CatalogueWalks.h"
#include "schema/ObjectPictures.h"
#include "schema/VersesText.h"

namespace morvane {
namespace {

int FirstEntryStartingWith(const std::vector<std::string>& entries, std::string_view text) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (StartsWithNoCase(entries[i], text)) return static_cast<int>(i);
    return -1;
}

// An entry's NAME: its display text up to the " - " separator.
std::string_view EntryName(std::string_view display) { return Trim(SplitAtFirst(display, " - ").before); }

int ClampToSlider(std::int64_t value, const SliderControl& slider) {
    return static_cast<int>(std::clamp<std::int64_t>(value, slider.lower, slider.upper));
}

}  // namespace

std::string ValueEditor::GetItemPath(TreeItem item) const {
    std::string path(m_tree.GetItemKey(item));
    for (TreeItem current = item; m_tree.GetParentItem(current) != kNoItem; current = m_tree.GetParentItem(current)) {
        std::string parent = m_tree.GetItemText(m_tree.GetParentItem(current));
        if (parent.empty() || parent.back() != '\\') parent += '\\';
        path.insert(0, parent);
    }
    return path;
}

void ValueEditor::OnSelchangedTree(TreeItem item) {
    const TreeItemData data = m_tree.GetItemData(item);

    m_visible.clear();
    m_multiList = {};
    m_animationCombo = {};
    m_listCombo = {};

    const bool hasChildren = m_tree.ItemHasChildren(item);
    m_bApplyEnabled = m_bDefaultEnabled = !hasChildren;
    m_strMatchAllRefusal = MatchAllRefusal(m_tree, m_rules, item);
    m_bMatchAllEnabled = m_strMatchAllRefusal.empty();

    m_strPath = GetItemPath(item);
    m_strDefault.clear();
    m_strValue.clear();
    m_strHelp.clear();
    m_strType.clear();
    m_kind = KeyKind::None;

    if (data.nameId != 0 && HasObjectPicture(data.nameId)) {
        m_visible.insert(data.nameId);
        m_nIconId = data.nameId;
    }

    const auto text = data.infoId == 0 ? std::nullopt : m_table.Find(data.infoId);
    if (text) {
        const Descriptor descriptor = ParseDescriptor(*text, m_table);
        m_strType = descriptor.typeLetter;
        m_kind = descriptor.kind;
        if (!descriptor.hasFields) {
            if (m_kind == KeyKind::Heading) m_strHelp = descriptor.helpText;
        } else {
            m_strHelp = descriptor.helpText;
            std::optional<std::string> held(m_tree.GetItemValue(item));
            // A key the file leaves out starts from what the files beneath give it, if any.
            if (!held && m_valueBeneath) held = m_valueBeneath(item);
            const bool absent = !held;
            const std::string value = held.value_or(std::string());
            switch (m_kind) {
                case KeyKind::Integer:
                    SetUpInteger(descriptor, value, absent);
                    break;
                case KeyKind::Real:
                    SetUpReal(descriptor, value, absent);
                    break;
                case KeyKind::YesNo:
                case KeyKind::TrueFalse:
                    SetUpCheck(descriptor, item, value, absent);
                    break;
                case KeyKind::Percent:
                    SetUpPercent(descriptor, value, absent);
                    break;
                case KeyKind::CratePowerup:
                    SetUpCratePowerup(descriptor, value, absent);
                    break;
                case KeyKind::Verses:
                    SetUpVerses(descriptor, value, absent);
                    break;
                case KeyKind::OneOfList:
                    SetUpList(descriptor, value, absent);
                    break;
                case KeyKind::ManyOfList:
                    SetUpMultiList(descriptor, value, absent);
                    break;
                default:
                    break;
            }
            if (IsValueKind(m_kind)) m_hCurItem = item;
        }
    }
    UpdateGameReads(item);
    ExchangeToControls();
    m_shownValue = ComposeValue();
}

void ValueEditor::SetUpInteger(const Descriptor& descriptor, const std::string& value, bool absent) {
    m_strValue = absent ? descriptor.defaultText : value;
    m_strDefault = descriptor.defaultText;
    m_valueSpin.lower = ReadLowerBound(descriptor.minText);
    m_valueSpin.upper = ReadUpperBound(descriptor.maxText);
    m_valueSpin.position = LowSigned16(ReadDecimal(m_strValue));
    Show({control::kValueSpin, control::kValueEdit, control::kDefaultCaption});
}

void ValueEditor::SetUpReal(const Descriptor& descriptor, const std::string& value, bool absent) {
    m_strValue = absent ? descriptor.defaultText : value;
    m_strDefault = descriptor.defaultText;
    Show({control::kValueEdit, control::kDefaultCaption});
}

void ValueEditor::SetUpCheck(const Descriptor& descriptor, TreeItem item, const std::string& value, bool absent) {
    const std::string shownDefault = FormatDefault(descriptor, m_table);
    m_strCheckCaption = m_tree.GetItemKey(item);
    const std::string_view text = TrimLeft(absent ? std::string_view(shownDefault) : std::string_view(value));
    // As the game reads it: y(es), t(rue) and 1 are on, whatever the letter case.
    m_bCheck = gameview::ReadGameBool(text).value_or(false) ? 1 : 0;
    m_strDefault = shownDefault;
    Show({control::kCheckBox, control::kDefaultCaption});
}

void ValueEditor::SetUpPercent(const Descriptor& descriptor, const std::string& value, bool absent) {
    m_percentSlider = SliderControl{};
    const std::string text = absent ? descriptor.defaultText + "%" : value;
    // Read as the game reads it: ".2" is 20% just like "20%". A value that is no whole
    // percentage keeps its text, so an untouched Apply writes back what the file says.
    const gameview::GamePercent reading = gameview::PercentOfFixed(gameview::ReadGameFixed(text));
    m_strPercent = reading.whole ? std::to_string(reading.percent) + "%" : text;
    m_strDefault = descriptor.defaultText + "%";
    m_percentSlider.position = ClampToSlider(reading.percent, m_percentSlider);
    Show({control::kPercentSlider, control::kPercentScale0, control::kPercentScale100, control::kPercentScale50,
          control::kPercentText, control::kDefaultCaption});
}

void ValueEditor::SetUpCratePowerup(const Descriptor& descriptor, const std::string& value, bool absent) {
    m_strOption.clear();
    m_strDefault = descriptor.defaultText;
    m_chanceSpin.lower = ReadLowerBound(descriptor.minText);
    m_chanceSpin.upper = ReadUpperBound(descriptor.maxText);
    for (const std::uint16_t id : WalkListRange(m_table, 9200, std::nullopt))
        m_animationCombo.entries.emplace_back(m_table.Text(id));
    // The animation list is a sorted combo box.
    std::stable_sort(m_animationCombo.entries.begin(), m_animationCombo.entries.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });

    const std::string& text = absent ? descriptor.defaultText : value;
    const Split chance = SplitAtFirst(text, ',');
    // Without any "," the whole value names the animation and there is no chance to show.
    m_strChance = chance.found ? std::string(chance.before) : std::string();
    const Split animation = SplitAtFirst(chance.found ? chance.after : std::string_view(text), ',');
    m_strAnimation = std::string(animation.before);
    const std::string option = animation.found ? std::string(animation.after) : std::string();

    if (!option.empty()) {
        m_strOption = option;
        m_strOptionLabel = "Option";
        if (const auto caption = SplitOptionCaption(m_strHelp)) {
            m_strOptionLabel = caption->caption;
            m_strHelp = caption->help;
        }
        Show({control::kOptionEdit, control::kOptionCaption});
    }
    Show({control::kDefaultCaption, control::kChanceCaption, control::kAnimationCaption, control::kChanceSpin,
          control::kAnimationCombo, control::kChanceEdit});
}

void ValueEditor::SetUpVerses(const Descriptor& descriptor, const std::string& value, bool absent) {
    m_strDefault = descriptor.defaultText;
    const auto numbers = VersesNumbers(absent ? descriptor.defaultText : value, descriptor.defaultText);
    for (std::size_t column = 0; column < 5; ++column) {
        const std::string& number = numbers[column];
        *VersesMember(column) = number + "%";
        m_versesSliders[column] = SliderControl{};
        m_versesSliders[column].position = ClampToSlider(ReadDecimal(number), m_versesSliders[column]);
        const auto& ids = control::kVersesColumns[column];
        Show({ids.slider, ids.caption, ids.edit});
    }
    Show({control::kDefaultCaption, control::kVersesScaleTop, control::kVersesScaleBottom});
}

std::vector<std::string> ValueEditor::ListChoices(const Descriptor& descriptor, bool cutAtBar) const {
    const auto first = LowUnsigned16(ReadDecimal(descriptor.minText));
    const std::optional<std::uint16_t> last =
        descriptor.maxText == "." ? std::nullopt : std::optional(LowUnsigned16(ReadDecimal(descriptor.maxText)));
    std::vector<std::string> choices;
    for (const std::uint16_t id : WalkListRange(m_table, first, last))
        choices.push_back(FormatListEntry(m_table.Text(id), cutAtBar));
    return choices;
}

void ValueEditor::SetUpList(const Descriptor& descriptor, const std::string& value, bool absent) {
    m_listCombo.entries = ListChoices(descriptor, true);
    m_strDefault = FormatDefault(descriptor, m_table);
    m_strList = absent ? m_strDefault : value;
    Show({control::kDefaultCaption, control::kListCombo});
}

void ValueEditor::SetUpMultiList(const Descriptor& descriptor, const std::string& value, bool absent) {
    m_multiList.entries = ListChoices(descriptor, false);
    m_multiList.selected.assign(m_multiList.entries.size(), false);
    m_strDefault = FormatDefault(descriptor, m_table);
    std::string_view names = absent ? std::string_view(m_strDefault) : std::string_view(value);
    // Each name selects the entry of exactly that NAME (any letter case); a name the list does
    // not hold is kept as written, so that Apply writes it back.
    while (true) {
        const Split split = SplitAtFirst(names, ',');
        if (!split.before.empty()) {
            const auto entry =
                std::find_if(m_multiList.entries.begin(), m_multiList.entries.end(),
                             [&](const std::string& e) { return EqualsNoCase(EntryName(e), split.before); });
            if (entry != m_multiList.entries.end())
                m_multiList.selected[static_cast<std::size_t>(entry - m_multiList.entries.begin())] = true;
            else
                m_multiList.kept.emplace_back(split.before);
        }
        if (!split.found) break;
        names = split.after;
    }
    Show({control::kDefaultCaption, control::kMultiList});
}

void ValueEditor::ExchangeToControls() {
    // A combo selects the first entry that begins with its text; with none, the text stays as typed.
    for (auto [combo, text] : {std::pair{&m_listCombo, &m_strList}, std::pair{&m_animationCombo, &m_strAnimation}}) {
        combo->selection = FirstEntryStartingWith(combo->entries, *text);
        if (combo->selection >= 0) *text = combo->entries[static_cast<std::size_t>(combo->selection)];
    }
    if (m_exchange != nullptr) m_exchange->UpdateData(false);
}

}  // namespace morvane
