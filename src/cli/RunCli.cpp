#include <optional>
#include <variant>

#include "cli/CliCommand.h"
#include "common/Version.h"
#include "schema/CatalogueFile.h"

namespace morvane::cli {
namespace {

std::vector<Command> AllCommands() {
    std::vector<Command> all = SchemaCommands();
    for (const Command& command : RulesCommands()) all.push_back(command);
    for (const Command& command : EditorCommands()) all.push_back(command);
    for (const Command& command : EditCommands()) all.push_back(command);
    for (const Command& command : GameCommands()) all.push_back(command);
    for (const Command& command : CompareCommands()) all.push_back(command);
    for (const Command& command : LayerCommands()) all.push_back(command);
    for (const Command& command : BalanceCommands()) all.push_back(command);
    return all;
}

void PrintOverview(std::ostream& out) {
    out << "usage: morvane-cli [--catalogue FILE] COMMAND [ARGS]\n\n"
           "Looks at and edits a Red Alert rules file without the window.\n\n"
           "commands:\n";
    for (const Command& command : AllCommands()) {
        std::string head = std::string(command.name) + " " + command.usage;
        head.resize(std::max<std::size_t>(head.size() + 2, 34), ' ');
        out << "  " << head << command.summary << "\n";
    }
    out << "\noptions:\n"
           "  --catalogue FILE                use FILE instead of the built-in catalogue\n"
           "  --help                          show this text; COMMAND --help shows a command's\n"
           "  --version                       show the version number\n";
}

void PrintCommandHelp(const Command& command, std::ostream& out) {
    out << "usage: morvane-cli " << command.name << " " << command.usage << "\n\n" << command.details;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::size_t at = 0;
    std::optional<std::string> cataloguePath;
    while (at < args.size() && args[at].rfind("--", 0) == 0) {
        if (args[at] == "--help") {
            PrintOverview(out);
            return kExitOk;
        }
        if (args[at] == "--version") {
            out << "morvane-cli " << kVersion << "\n";
            return kExitOk;
        }
        if (args[at] == "--catalogue" && at + 1 < args.size()) {
            cataloguePath = args[at + 1];
            at += 2;
            continue;
        }
        err << "morvane-cli: unknown option " << args[at] << " (see morvane-cli --help)\n";
        return kExitUsage;
    }
    if (at >= args.size()) {
        PrintOverview(err);
        return kExitUsage;
    }

    const std::vector<Command> commands = AllCommands();
    const Command* command = nullptr;
    for (const Command& candidate : commands)
        if (args[at] == candidate.name) command = &candidate;
    if (command == nullptr) {
        err << "morvane-cli: unknown command " << args[at] << " (see morvane-cli --help)\n";
        return kExitUsage;
    }
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(at) + 1, args.end());
    for (const std::string& arg : rest) {
        if (arg == "--help") {
            PrintCommandHelp(*command, out);
            return kExitOk;
        }
    }

    if (!cataloguePath) {
        CommandContext context{std::move(rest), BuiltInCatalogue(), out, err};
        return command->run(context);
    }
    auto loaded = LoadCatalogueFile(*cataloguePath);
    if (loaded.index() == 1) {
        err << "morvane-cli: catalogue " << DescribeCatalogueError(*cataloguePath, std::get<1>(loaded)) << "\n";
        return kExitUsage;
    }
    CommandContext context{std::move(rest), std::get<0>(loaded), out, err};
    return command->run(context);
}

}  // namespace morvane::cli
