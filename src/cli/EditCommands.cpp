// The window's writing commands without the window: Default and Match All In Section.
#include "cli/ArgumentReading.h"
#include "cli/CliCommand.h"
#include "cli/RulesSession.h"
#include "editor/MatchAllPlan.h"
#include "editor/ValueEditor.h"
#include "editor/WriteSummary.h"
#include "tree/TreeBuilder.h"
#include "tree/TreePath.h"

namespace morvane::cli {
namespace {

// The tree built against the file and the item at PATH; kNoItem (with a message) when absent.
TreeItem BuildAndFind(CommandContext& context, RulesSession& session, const std::string& path) {
    TreeBuilder(session.tree, context.catalogue, session.rules).BuildTree();
    const TreeItem item = FindItemByPath(session.tree, path);
    if (item == kNoItem) context.err << "morvane-cli: no item " << path << " in the tree\n";
    return item;
}

int RunDefault(CommandContext& context) {
    if (!ExpectArgs(context, "default", "FILE PATH", 2)) return kExitUsage;
    RulesSession session(context, context.args[0]);
    if (!session.readable) return kExitUnreadable;
    const TreeItem item = BuildAndFind(context, session, context.args[1]);
    if (item == kNoItem) return kExitNotFound;
    ValueEditor editor(session.tree, context.catalogue, session.items);
    editor.OnSelchangedTree(item);
    if (!editor.m_bDefaultEnabled) {
        context.err << "morvane-cli: " << context.args[1] << " is not a key; Default writes a key's default\n";
        return kExitRefused;
    }
    if (!editor.OnDefault()) return kExitWriteFailed;
    context.out << DescribeItemWrite(session.tree, session.items, item) << "\n";
    return kExitOk;
}

int RunMatchAll(CommandContext& context) {
    bool dryRun = false;
    bool allowEmpty = false;
    std::vector<std::string> operands;
    for (const std::string& arg : context.args) {
        if (arg == "--dry-run")
            dryRun = true;
        else if (arg == "--allow-empty")
            allowEmpty = true;
        else
            operands.push_back(arg);
    }
    if (operands.size() != 2) {
        context.err << "usage: morvane-cli match-all FILE PATH [--dry-run] [--allow-empty]\n";
        return kExitUsage;
    }
    RulesSession session(context, operands[0]);
    if (!session.readable) return kExitUnreadable;
    const TreeItem item = BuildAndFind(context, session, operands[1]);
    if (item == kNoItem) return kExitNotFound;
    if (const std::string refusal = MatchAllRefusal(session.tree, session.items, item); !refusal.empty()) {
        context.err << "morvane-cli: " << refusal << "\n";
        return kExitRefused;
    }
    const MatchAllPlan plan = PlanMatchAll(session.tree, session.items, item);
    for (const MatchAllChange& change : plan.changes)
        context.out << change.section << "\t" << change.oldValue.value_or("") << "\t" << plan.value << "\n";
    if (dryRun || plan.changes.empty()) return kExitOk;
    if (plan.keyAbsent && !allowEmpty) {
        context.err << "morvane-cli: " << plan.key << " is not in " << operands[0] << "; Match All would empty it in "
                    << plan.changes.size() << " sections. Give --allow-empty to do that.\n";
        return kExitRefused;
    }
    if (ApplyMatchAll(plan, session.tree, session.rules) != 0) return kExitWriteFailed;
    context.err << DescribeMatchAllWrite(plan.key, plan.value, plan.changes.size()) << "\n";
    return kExitOk;
}

}  // namespace

std::vector<Command> EditCommands() {
    return {
        {"default", "FILE PATH", "write a key's default, as the window's Default does",
         "Builds the tree against FILE and writes the default of the key at PATH into FILE,\n"
         "exactly as the Default button stores it, then prints what was written, for example\n"
         "\"Wrote CrateMinimum=2 to [General]\". PATH is as for show. Exit 3 when PATH is\n"
         "not a key, 2 when the write fails.\n",
         RunDefault},
        {"match-all", "FILE PATH [--dry-run] [--allow-empty]",
         "copy a key's value into the sibling sections, as Match All In Section does",
         "Copies the value of the key at PATH into the key of the same name in every sibling\n"
         "section (the other objects of the group, the other countries or difficulties).\n"
         "Prints one line per section that changes: SECTION, TAB, old value (empty when the\n"
         "key is absent there), TAB, new value; then writes them all in one replace of the\n"
         "file. --dry-run prints only. A key absent from FILE would empty the key in every\n"
         "sibling: that is written only with --allow-empty. Keys of the top-level sections\n"
         "(General, MultiplayerDefaults, Recharge, AI, IQ, Powerups) are refused with exit 3:\n"
         "the keys that share their names elsewhere mean other things.\n",
         RunMatchAll},
    };
}

}  // namespace morvane::cli
