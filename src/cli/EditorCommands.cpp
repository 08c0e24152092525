#include "cli/ArgumentReading.h"
#include "cli/CliCommand.h"
#include "cli/RulesSession.h"
#include "editor/ControlIds.h"
#include "editor/ValueEditor.h"
#include "tree/TreeBuilder.h"
#include "tree/TreePath.h"

namespace morvane::cli {
namespace {

void PrintEntries(std::ostream& out, const char* name, const std::vector<std::string>& entries,
                  const std::vector<bool>& selected) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        out << name << ": " << (selected[i] ? "* " : "  ") << entries[i] << "\n";
}

void PrintCombo(std::ostream& out, const char* name, const ComboControl& combo) {
    std::vector<bool> selected(combo.entries.size(), false);
    if (combo.selection >= 0) selected[static_cast<std::size_t>(combo.selection)] = true;
    PrintEntries(out, name, combo.entries, selected);
}

const char* State(bool enabled) { return enabled ? "enabled" : "disabled"; }

void PrintEditor(const ValueEditor& editor, std::ostream& out) {
    using namespace control;
    out << "path: " << editor.m_strPath << "\n"
        << "type: " << editor.m_strType << "\n"
        << "help: " << editor.m_strHelp << "\n"
        << "default: " << editor.m_strDefault << "\n";
    if (!editor.m_strGameReads.empty()) out << "game-reads: " << editor.m_strGameReads << "\n";
    if (editor.m_nIconId != 0 && editor.IsVisible(editor.m_nIconId)) out << "picture: " << editor.m_nIconId << "\n";
    if (editor.IsVisible(kValueEdit)) out << "value: " << editor.m_strValue << "\n";
    if (editor.IsVisible(kValueSpin))
        out << "range: " << editor.m_valueSpin.lower << " to " << editor.m_valueSpin.upper << "\n"
            << "spin-position: " << editor.m_valueSpin.position << "\n";
    if (editor.IsVisible(kCheckBox))
        out << "check: " << (editor.m_bCheck ? "checked" : "unchecked") << "\n"
            << "check-caption: " << editor.m_strCheckCaption << "\n";
    if (editor.IsVisible(kPercentSlider))
        out << "percent: " << editor.m_strPercent << "\n"
            << "slider: " << editor.m_percentSlider.position << " (" << editor.m_percentSlider.lower << " to "
            << editor.m_percentSlider.upper << ")\n";
    if (editor.IsVisible(kChanceEdit))
        out << "chance: " << editor.m_strChance << "\n"
            << "chance-range: " << editor.m_chanceSpin.lower << " to " << editor.m_chanceSpin.upper << "\n";
    if (editor.IsVisible(kAnimationCombo)) {
        out << "animation: " << editor.m_strAnimation << "\n";
        PrintCombo(out, "animation-entry", editor.m_animationCombo);
    }
    if (editor.IsVisible(kOptionEdit))
        out << "option-caption: " << editor.m_strOptionLabel << "\n"
            << "option: " << editor.m_strOption << "\n";
    for (std::size_t column = 0; column < 5; ++column) {
        const auto& ids = kVersesColumns[column];
        if (!editor.IsVisible(ids.edit)) continue;
        std::string name = ids.label;
        for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        out << name << ": " << editor.VersesValue(column) << "\n";
    }
    if (editor.IsVisible(kListCombo)) {
        out << "list: " << editor.m_strList << "\n";
        PrintCombo(out, "entry", editor.m_listCombo);
    }
    if (editor.IsVisible(kMultiList))
        PrintEntries(out, "entry", editor.m_multiList.entries, editor.m_multiList.selected);
    out << "apply: " << State(editor.m_bApplyEnabled) << "\n"
        << "default-button: " << State(editor.m_bDefaultEnabled) << "\n"
        << "match-all: " << State(editor.m_bMatchAllEnabled) << "\n";
}

int RunShow(CommandContext& context) {
    if (!ExpectArgs(context, "show", "FILE PATH", 2)) return kExitUsage;
    RulesSession session(context, context.args[0]);
    if (!session.readable) return kExitUnreadable;
    TreeBuilder(session.tree, context.catalogue, session.rules).BuildTree();
    const TreeItem item = FindItemByPath(session.tree, context.args[1]);
    if (item == kNoItem) {
        context.err << "morvane-cli: no item " << context.args[1] << " in the tree\n";
        return kExitNotFound;
    }
    ValueEditor editor(session.tree, context.catalogue, session.items);
    editor.OnSelchangedTree(item);
    PrintEditor(editor, context.out);
    return kExitOk;
}

}  // namespace

std::vector<Command> EditorCommands() {
    return {
        {"show", "FILE PATH", "print what the value editor shows for an item",
         "Builds the tree against FILE, selects the item at PATH and prints what the value\n"
         "editor shows, one \"name: value\" line each: path, type, help, default, game-reads\n"
         "(what the game makes of the key's line), the value fields of the key's kind, their\n"
         "ranges, list entries (selected ones marked with *) and the state of Apply, Default\n"
         "and Match All In Section. PATH names one item a level, separated by \\, each matched\n"
         "against the label up to \" = \", for example General\\Crates\\CrateMinimum or\n"
         "\"Units\\Infantry\\Rifle soldier\\Cost\".\n",
         RunShow},
    };
}

}  // namespace morvane::cli
