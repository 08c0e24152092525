#include "editor/ValueEditor.h"

#include "common/TextOps.h"
#include "editor/ControlIds.h"
#include "editor/InputCheck.h"
#include "editor/MatchAllPlan.h"

namespace morvane {
namespace {

constexpr std::size_t kMostListNames = 20;

// An entry's NAME: the display text up to its " - " separator, trimmed.
std::string NameOfDisplay(std::string_view display) { return std::string(Trim(SplitAtFirst(display, " - ").before)); }

}  // namespace

ValueEditor::ValueEditor(Tree& tree, const StringTable& table, ItemFileAccess& rules)
    : m_tree(tree), m_table(table), m_rules(rules) {}

void ValueEditor::Show(std::initializer_list<int> controlIds) {
    m_visible.insert(controlIds.begin(), controlIds.end());
}

void ValueEditor::ExchangeFromControls() {
    if (m_exchange != nullptr) m_exchange->UpdateData(true);
}

std::string* ValueEditor::VersesMember(std::size_t column) {
    std::string* members[5] = {&m_strVsNone, &m_strVsWood, &m_strVsLight, &m_strVsHeavy, &m_strVsConcrete};
    return members[column];
}

const std::string& ValueEditor::VersesValue(std::size_t column) const {
    const std::string* members[5] = {&m_strVsNone, &m_strVsWood, &m_strVsLight, &m_strVsHeavy, &m_strVsConcrete};
    return *members[column];
}

std::optional<std::string> ValueEditor::ComposeValue() const {
    if (m_hCurItem == kNoItem) return std::nullopt;
    switch (m_kind) {
        case KeyKind::Integer:
        case KeyKind::Real:
            return std::string(Trim(m_strValue));
        case KeyKind::OneOfList:
            return NameOfDisplay(m_strList);
        case KeyKind::Percent:
            return std::string(Trim(m_strPercent));
        case KeyKind::CratePowerup: {
            std::string value = m_strChance + "," + m_strAnimation;
            if (!m_strOption.empty()) value += "," + m_strOption;
            return std::string(Trim(value));
        }
        case KeyKind::Verses:
            return std::string(Trim(m_strVsNone + "," + m_strVsWood + "," + m_strVsLight + "," + m_strVsHeavy + "," +
                                    m_strVsConcrete));
        case KeyKind::ManyOfList: {
            std::string value;
            std::size_t taken = 0;
            for (std::size_t i = 0; i < m_multiList.entries.size() && taken < kMostListNames; ++i) {
                if (!m_multiList.selected[i]) continue;
                ++taken;
                if (!value.empty()) value += ',';
                value += NameOfDisplay(m_multiList.entries[i]);
            }
            for (const std::string& name : m_multiList.kept) {
                if (!value.empty()) value += ',';
                value += name;
            }
            // Nothing left: the key leaves the file and the game uses its built-in list.
            if (value.empty()) return std::nullopt;
            return value;
        }
        case KeyKind::YesNo:
            return std::string(m_bCheck ? "yes" : "no");
        case KeyKind::TrueFalse:
            return std::string(m_bCheck ? "true" : "false");
        default:
            return std::optional<std::string>(m_tree.GetItemValue(m_hCurItem));
    }
}

bool ValueEditor::WriteValue(TreeItem item, std::optional<std::string> value) {
    std::optional<std::string> previous(m_tree.GetItemValue(item));
    m_tree.SetItemValue(item, std::move(value));
    if (m_rules.WriteItemValue(item) == 0) return true;
    // A failed write keeps the tree true to the file: the old value comes back.
    m_tree.SetItemValue(item, std::move(previous));
    return false;
}

bool ValueEditor::OnApply() {
    ExchangeFromControls();
    if (m_hCurItem == kNoItem) return false;
    // The controls match the key only once the write went through; after a failure the edit
    // is still pending.
    if (!WriteValue(m_hCurItem, ComposeValue())) return false;
    m_shownValue = ComposeValue();
    UpdateGameReads(m_hCurItem);
    return true;
}

bool ValueEditor::OnDefault() {
    ExchangeFromControls();
    if (m_hCurItem == kNoItem) return false;
    // A list key stores and shows its default entry's NAME, and Verses their fields joined by
    // commas: the forms the game can read. A key without a default leaves the file.
    std::optional<std::string> value = m_rules.DefaultValueOf(m_hCurItem);
    const bool fileForm = m_kind == KeyKind::OneOfList || m_kind == KeyKind::Verses;
    if (value && !fileForm) value = std::string(Trim(m_strDefault));
    // The controls show what was written, so that an Apply right after keeps the default.
    if (!WriteValue(m_hCurItem, std::move(value))) return false;
    OnSelchangedTree(m_hCurItem);
    return true;
}

void ValueEditor::OnMatchAllInSection() {
    if (!MatchAllRefusal(m_tree, m_rules, m_hCurItem).empty()) return;
    ApplyMatchAll(PlanMatchAll(m_tree, m_rules, m_hCurItem), m_tree, m_rules.Rules());
}

bool ValueEditor::HasPendingEdit() {
    ExchangeFromControls();
    return ComposeValue() != m_shownValue;
}

}  // namespace morvane

namespace morvane {

std::string ValueEditor::InputProblem() {
    ExchangeFromControls();
    if (m_hCurItem == kNoItem) return {};
    const std::optional<std::string> value = ComposeValue();
    if (!value) return {};
    return morvane::InputProblem(ParseDescriptor(m_table.Text(m_tree.GetItemData(m_hCurItem).infoId), m_table), *value);
}

}  // namespace morvane
