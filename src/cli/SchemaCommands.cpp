#include <optional>
#include <string_view>

#include "cli/ArgumentReading.h"
#include "cli/CliCommand.h"
#include "gameview/GameKeys.h"
#include "platform/FileAccess.h"
#include "schema/DefaultRulesFile.h"
#include "schema/Descriptor.h"

namespace morvane::cli {
namespace {

// The catalogue entry the ID argument names; on failure the message is printed and `exitCode`
// says how to end.
std::optional<std::string_view> EntryOfArgument(CommandContext& context, int& exitCode) {
    const auto id = ParseId(context.args[0]);
    if (!id) {
        context.err << "morvane-cli: " << context.args[0] << " is not an id from 0 to 65535\n";
        exitCode = kExitUsage;
        return std::nullopt;
    }
    const auto text = context.catalogue.Find(*id);
    if (!text) {
        context.err << "morvane-cli: id " << *id << " has no string\n";
        exitCode = kExitNotFound;
    }
    return text;
}

int RunString(CommandContext& context) {
    if (!ExpectArgs(context, "string", "ID", 1)) return kExitUsage;
    int exitCode = kExitOk;
    const auto text = EntryOfArgument(context, exitCode);
    if (!text) return exitCode;
    context.out << *text;
    if (text->empty() || text->back() != '\n') context.out << '\n';
    return kExitOk;
}

int RunDescribe(CommandContext& context) {
    if (!ExpectArgs(context, "describe", "ID", 1)) return kExitUsage;
    int exitCode = kExitOk;
    const auto text = EntryOfArgument(context, exitCode);
    if (!text) return exitCode;
    const Descriptor descriptor = ParseDescriptor(*text, context.catalogue);
    context.out << "type: " << descriptor.typeLetter << "\n"
                << "min: " << descriptor.minText << "\n"
                << "max: " << descriptor.maxText << "\n"
                << "default: " << descriptor.defaultText << "\n"
                << "help: " << descriptor.helpText << "\n"
                << "shown-default: " << FormatDefault(descriptor, context.catalogue) << "\n";
    return kExitOk;
}

int RunNew(CommandContext& context) {
    bool force = false;
    std::vector<std::string> paths;
    for (const std::string& arg : context.args) {
        if (arg == "--force")
            force = true;
        else
            paths.push_back(arg);
    }
    if (paths.size() != 1) {
        context.err << "usage: morvane-cli new [--force] FILE\n";
        return kExitUsage;
    }
    const std::string& path = paths[0];
    if (!force && platform::FileExists(path)) {
        context.err << "morvane-cli: " << path << " already exists; give --force to replace it\n";
        return kExitNotFound;
    }
    // Keys the game passes over would only promise an effect that never comes.
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const auto readByTheGame = [&keys](std::string_view section, std::string_view key) {
        return !keys.IgnoresKey(section, key);
    };
    const int error = platform::ReplaceFileAtomically(path, MakeDefaultRulesFile(context.catalogue, readByTheGame));
    if (error != 0) {
        context.err << "morvane-cli: cannot write " << path << " (error " << error << ")\n";
        return kExitWriteFailed;
    }
    return kExitOk;
}

}  // namespace

std::vector<Command> SchemaCommands() {
    return {
        {"string", "ID", "print the catalogue entry ID",
         "Prints the text of catalogue entry ID exactly as stored (a key list keeps its line\n"
         "feeds). Exits with 1 when ID is a free id.\n",
         RunString},
        {"describe", "ID", "print descriptor ID taken apart",
         "Parses catalogue entry ID as a key descriptor and prints one line each:\n"
         "type, min, max, default (as stored), help (with ~ references resolved) and\n"
         "shown-default (the default as the editor shows it). Exits with 1 for a free id.\n",
         RunDescribe},
        {"new", "[--force] FILE", "write a rules file of every key at its default",
         "Writes FILE: a rules file holding every key the catalogue knows that has a default\n"
         "(except the few the game never reads in their section),\n"
         "in the form the game reads (yes/no, true/false, N%, list names), CR LF line endings.\n"
         "An existing FILE is left alone unless --force is given.\n",
         RunNew},
    };
}

}  // namespace morvane::cli
