#include "editor/ValueEditor.h"

#include "common/TextOps.h"
#include "editor/ControlIds.h"
#include "editor/InputCheck.h"
#include "editor/MatchAllPlan.h"
#include "rulesfile/ValueLabel.h"

namespace morvane {
namespace {

constexpr std::size_t kMostListNames = 20;

bool IsValueKind(const std::string& type) {
    return type == "I" || type == "R" || type == "L" || type == "P" || type == "K" || type == "V" || type == "M" ||
           type == "B" || type == "T";
}

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

std::string ValueEditor::ComposeLabel() const {
    if (m_hCurItem == kNoItem || !IsValueKind(m_strType)) return {};
    const std::string key = KeyOfLabel(m_tree.GetItemText(m_hCurItem));
    const auto withValue = [&key](std::string_view value) { return key + " = " + std::string(value); };
    const std::string& type = m_strType;
    if (type == "I" || type == "R") return withValue(Trim(m_strValue));
    if (type == "L") return withValue(NameOfDisplay(m_strList));
    if (type == "P") return withValue(Trim(m_strPercent));
    if (type == "K") {
        std::string value = m_strChance + "," + m_strAnimation;
        if (!m_strOption.empty()) value += "," + m_strOption;
        return withValue(Trim(value));
    }
    if (type == "V") {
        return withValue(
            Trim(m_strVsNone + "," + m_strVsWood + "," + m_strVsLight + "," + m_strVsHeavy + "," + m_strVsConcrete));
    }
    if (type == "M") {
        std::string value;
        std::size_t taken = 0;
        for (std::size_t i = 0; i < m_multiList.entries.size() && taken < kMostListNames; ++i) {
            if (!m_multiList.selected[i]) continue;
            ++taken;
            if (!value.empty()) value += ',';
            value += NameOfDisplay(m_multiList.entries[i]);
        }
        // Nothing selected leaves the bare key, which stores the default.
        return value.empty() ? key : withValue(value);
    }
    if (type == "B") return withValue(m_bCheck ? "yes" : "no");
    return withValue(m_bCheck ? "true" : "false");
}

bool ValueEditor::WriteLabel(TreeItem item, std::string label) {
    std::string previous = m_tree.GetItemText(item);
    m_tree.SetItemText(item, std::move(label));
    if (m_rules.WriteItemValue(item) == 0) return true;
    // A failed write keeps the tree true to the file: the old label comes back.
    m_tree.SetItemText(item, std::move(previous));
    return false;
}

bool ValueEditor::OnApply() {
    ExchangeFromControls();
    if (m_hCurItem == kNoItem) return false;
    std::string label = ComposeLabel();
    if (label.empty()) label = m_tree.GetItemText(m_hCurItem);
    // The controls match the label only once the write went through; after a failure the
    // edit is still pending.
    if (!WriteLabel(m_hCurItem, label)) return false;
    m_strShownLabel = ComposeLabel();
    UpdateGameReads(m_hCurItem);
    return true;
}

bool ValueEditor::OnDefault() {
    ExchangeFromControls();
    if (m_hCurItem == kNoItem) return false;
    const std::string key = KeyOfLabel(m_tree.GetItemText(m_hCurItem));
    // A list key stores and shows its default entry's NAME, and Verses their fields joined by
    // commas: the forms the game can read.
    const bool fileForm = m_strType == "L" || m_strType == "V";
    const std::string value = fileForm ? m_rules.DefaultValueOf(m_hCurItem) : m_strDefault;
    // The controls show what was written, so that an Apply right after keeps the default.
    if (!WriteLabel(m_hCurItem, key + " = " + value)) return false;
    OnSelchangedTree(m_hCurItem);
    return true;
}

void ValueEditor::OnMatchAllInSection() {
    if (!MatchAllRefusal(m_tree, m_rules, m_hCurItem).empty()) return;
    ApplyMatchAll(PlanMatchAll(m_tree, m_rules, m_hCurItem), m_tree, m_rules.Rules());
}

bool ValueEditor::HasPendingEdit() {
    ExchangeFromControls();
    return ComposeLabel() != m_strShownLabel;
}

}  // namespace morvane

namespace morvane {

std::string ValueEditor::InputProblem() {
    ExchangeFromControls();
    if (m_hCurItem == kNoItem) return {};
    const ValueLabelParts parts = SplitValueLabel(ComposeLabel());
    if (!parts.hasValue) return {};
    return morvane::InputProblem(ParseDescriptor(m_table.Text(m_tree.GetItemData(m_hCurItem).infoId), m_table),
                                 parts.value);
}

}  // namespace morvane
