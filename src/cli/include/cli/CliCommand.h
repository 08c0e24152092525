#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "schema/StringTable.h"

namespace morvane::cli {

// What every subcommand gets: its own arguments (after the subcommand's name), the catalogue in
// use and the two output streams.
struct CommandContext {
    std::vector<std::string> args;
    const StringTable& catalogue;
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    const char* name;
    const char* usage;    // the arguments, e.g. "ID"
    const char* summary;  // one line for the overview
    const char* details;  // the text of "--help" after the usage line
    int (*run)(CommandContext& context);
};

// Exit codes shared by the subcommands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotFound = 1;
inline constexpr int kExitWriteFailed = 2;
inline constexpr int kExitUnreadable = 2;  // the file cannot be read (the reason is on stderr)
inline constexpr int kExitRefused = 3;     // the command does not apply to the item named
inline constexpr int kExitUsage = 64;

// The subcommands of each file, gathered by the dispatcher.
std::vector<Command> SchemaCommands();
std::vector<Command> RulesCommands();
std::vector<Command> EditorCommands();
std::vector<Command> EditCommands();
std::vector<Command> GameCommands();
std::vector<Command> CompareCommands();
std::vector<Command> LayerCommands();
std::vector<Command> BalanceCommands();

// Runs the whole command line (without the program name); returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace morvane::cli
