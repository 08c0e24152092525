#include <algorithm>

#include "cli/ArgumentReading.h"
#include "cli/CliCommand.h"
#include "cli/RulesSession.h"
#include "platform/ProfileApi.h"
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
    const auto force = std::find(context.args.begin(), context.args.end(), "--force");
    const bool forced = force != context.args.end();
    if (forced) context.args.erase(force);
    if (!ExpectArgs(context, "set", "[--force] FILE SECTION KEY VALUE", 4)) return kExitUsage;
    RulesSession session(context, context.args[0]);
    if (!session.readable) return kExitUnreadable;
    session.rules.SetForceLongLines(forced);
    const int error = session.rules.WriteValue(context.args[1], context.args[2], context.args[3]);
    if (error == platform::kErrorLineTooLong) context.err << "morvane-cli: give --force to write it all the same\n";
    return error == 0 ? kExitOk : kExitWriteFailed;
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
        {"set", "[--force] FILE SECTION KEY VALUE", "write one value into a rules file",
         "Sets KEY in SECTION of FILE to VALUE, changing only that key's line (an inline\n"
         "comment after the value is kept). A missing key, section or file is created.\n"
         "The write lands where the game reads it: section and key take the game's spelling\n"
         "([E1] Cost for e1 cost), a section in the wrong letter case gets its header's case\n"
         "fixed, every copy of a repeated section or key gets the value, the file ends with\n"
         "a line break, lone carriage returns become CR LF and a byte-order mark is dropped.\n"
         "A value that would make its line longer than the 127 characters the game reads is\n"
         "refused, saying how much would be lost, unless --force is given; so is a value\n"
         "holding a line break or \";\". On failure prints why on stderr and exits with 2.\n",
         RunSet},
    };
}

}  // namespace morvane::cli
