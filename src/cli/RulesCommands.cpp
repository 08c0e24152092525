#include "cli/ArgumentReading.h"
#include "cli/CliCommand.h"
#include "cli/RulesSession.h"
#include "rulesfile/RulesFileAccess.h"
#include "tree/TreeBuilder.h"

namespace morvane::cli {
namespace {

void PrintItems(const Tree& tree, TreeItem parent, int depth, std::ostream& out) {
    for (TreeItem item = tree.GetChildItem(parent); item != kNoItem; item = tree.GetNextSiblingItem(item)) {
        const TreeItemData data = tree.GetItemData(item);
        out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << tree.GetItemText(item) << '\t' << data.nameId
            << ' ' << data.infoId << ' ' << tree.GetItemImage(item) << ' ' << tree.GetItemSelectedImage(item) << '\n';
        PrintItems(tree, item, depth + 1, out);
    }
}

int RunTree(CommandContext& context) {
    if (!ExpectArgs(context, "tree", "FILE", 1)) return kExitUsage;
    RulesSession session(context, context.args[0]);
    if (!session.readable) return kExitUnreadable;
    TreeBuilder(session.tree, context.catalogue, session.rules).BuildTree();
    PrintItems(session.tree, kRoot, 0, context.out);
    return kExitOk;
}

int RunGet(CommandContext& context) {
    if (!ExpectArgs(context, "get", "FILE SECTION KEY", 3)) return kExitUsage;
    const RulesSession session(context, context.args[0]);
    if (!session.readable) return kExitUnreadable;
    WarnOfInterruptedWrite(context, context.args[0]);
    const auto value = session.rules.ReadValue(context.args[1], context.args[2]);
    if (!value) {
        context.err << "morvane-cli: [" << context.args[1] << "]" << context.args[2] << " has no value in "
                    << context.args[0] << "\n";
        return kExitNotFound;
    }
    context.out << *value << "\n";
    return kExitOk;
}

int RunSet(CommandContext& context) {
    if (!ExpectArgs(context, "set", "FILE SECTION KEY VALUE", 4)) return kExitUsage;
    RulesSession session(context, context.args[0]);
    if (!session.readable) return kExitUnreadable;
    return session.rules.WriteValue(context.args[1], context.args[2], context.args[3]) == 0 ? kExitOk
                                                                                            : kExitWriteFailed;
}

}  // namespace

std::vector<Command> RulesCommands() {
    return {
        {"tree", "FILE", "print the navigation tree built against FILE",
         "Builds the editor's tree against the rules file FILE and prints one item a line:\n"
         "two blanks per level, the label, a TAB, then nameId infoId image selectedImage.\n"
         "A FILE that does not exist gives every key its bare label; one that cannot be read\n"
         "(a folder, a pipe, no permission, too large) exits with 2 and says why.\n",
         RunTree},
        {"get", "FILE SECTION KEY", "print the value of a key as the editor reads it",
         "Prints the value of KEY in SECTION of FILE as the tree shows it: an inline comment\n"
         "after \";\" is cut off and trailing blanks removed. Exits with 1 when the file does\n"
         "not hold the key, 2 when FILE cannot be read. Warns when an earlier write of FILE was\n"
         "cut short and left a copy of its old contents.\n",
         RunGet},
        {"set", "FILE SECTION KEY VALUE", "write one value into a rules file",
         "Sets KEY in SECTION of FILE to VALUE, changing only that key's line (an inline\n"
         "comment after the value is kept). A missing key, section or file is created. On\n"
         "failure prints the save-failure message on stderr and exits with 2.\n",
         RunSet},
    };
}

}  // namespace morvane::cli
