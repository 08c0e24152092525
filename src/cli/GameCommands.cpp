#include "cli/ArgumentReading.h"
#include "cli/CliCommand.h"
#include "cli/RulesSession.h"
#include "gameview/GameCheck.h"
#include "gameview/GameEffective.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

std::optional<std::string> ReadRulesFile(const CommandContext& context, const std::string& path) {
    platform::FileReadResult read = platform::ReadRegularFile(path);
    if (!read.bytes) context.err << "morvane-cli: " << platform::DescribeReadFailure(read.error, path) << "\n";
    return std::move(read.bytes);
}

int RunCheck(CommandContext& context) {
    if (!ExpectArgs(context, "check", "FILE", 1)) return kExitUsage;
    const std::string& path = context.args[0];
    const auto bytes = ReadRulesFile(context, path);
    if (!bytes) return kExitUnreadable;
    WarnOfInterruptedWrite(context, path);
    const gameview::GameIni ini(*bytes);
    bool serious = false;
    for (const gameview::Finding& finding : gameview::CheckRulesFile(ini, gameview::GameKeys::BuiltIn())) {
        context.out << path << ':' << finding.line << ": " << gameview::LevelWord(finding.level) << ": ";
        if (!finding.section.empty()) {
            context.out << '[' << finding.section << ']';
            if (!finding.key.empty()) context.out << ' ' << finding.key;
            context.out << ": ";
        }
        context.out << finding.message << '\n';
        serious = serious || finding.level != gameview::Level::Note;
    }
    return serious ? kExitNotFound : kExitOk;
}

int RunEffective(CommandContext& context) {
    if (!ExpectArgs(context, "effective", "FILE SECTION KEY", 3)) return kExitUsage;
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const std::string& asked = context.args[1];
    const std::string* section = keys.KindOfSection(asked) != nullptr ? &asked : keys.SectionNoCase(asked);
    const gameview::SectionKind* kind = section == nullptr ? nullptr : keys.KindOfSection(*section);
    const gameview::GameKey* key = nullptr;
    if (kind != nullptr) {
        key = gameview::GameKeys::FindKey(*kind, context.args[2]);
        if (key == nullptr) key = gameview::GameKeys::FindKeyNoCase(*kind, context.args[2]);
    }
    if (key == nullptr) {
        context.err << "morvane-cli: the game does not read " << context.args[2] << " in [" << asked << "]\n";
        return kExitNotFound;
    }
    const auto bytes = ReadRulesFile(context, context.args[0]);
    if (!bytes) return kExitUnreadable;
    const gameview::GameIni ini(*bytes);
    // Sections this version of the game never opens give nothing, whatever they hold.
    const gameview::GameEntry* entry = kind->read ? ini.Find(*section, key->name) : nullptr;
    const gameview::EffectiveValue value = gameview::Effective(keys, *key, entry);
    context.out << value.kind << '\t' << value.value << '\n';
    return kExitOk;
}

}  // namespace

std::vector<Command> GameCommands() {
    return {
        {"check", "FILE", "show where the game reads FILE differently from what it says",
         "Reads FILE the way the game's own reader does and prints one finding a line, in\n"
         "line order:\n\n"
         "  FILE:LINE: LEVEL: [SECTION] KEY: MESSAGE\n\n"
         "The message says what the game will do with the line and how to write it instead.\n"
         "LEVEL is one of:\n"
         "  error    the game reads something other than what the line says, or does not see\n"
         "           the line at all (a wrong letter case, a line cut at 127 characters, a\n"
         "           value it cannot parse, a lost last line, a duplicate);\n"
         "  warning  the game reads the line as written, but it is probably a mistake (a\n"
         "           misspelt key, 25 where 25% was meant);\n"
         "  note     harmless: a line the game ignores (a key or section it does not read, an\n"
         "           empty value, which leaves the built-in one, a note cut at 127 characters).\n\n"
         "Exits with 0 when there is no error or warning, 1 when there is, 2 when FILE cannot\n"
         "be read.\n",
         RunCheck},
        {"effective", "FILE SECTION KEY", "print what the game makes of one entry",
         "Prints one line, KIND<TAB>VALUE: how the game reads KEY in SECTION of FILE.\n"
         "  bool       true, false, or default (the first letter is none of Y T 1 N F 0)\n"
         "  int        the number read (also from $1F and 1Fh), or default\n"
         "  fixed      the 16.16 fixed-point value with six decimals (25% gives 0.250000)\n"
         "  cells      the distance in leptons, 256 a cell\n"
         "  speed      the stored value from 0 to 255, or default\n"
         "  buildings  the prerequisite buildings in the game's order, or none\n"
         "  owners     the owning houses in the game's order, or none\n"
         "  verses     the five values against none, wood, light, heavy and concrete\n"
         "  powerup    shares, animation (or none) and the data as stored (2.0 gives 512)\n"
         "  name       the name the game matched, none, or kept (the previous one stays)\n"
         "  text       the stored text\n"
         "VALUE is absent when the game does not see the entry: the key is missing, spelt in\n"
         "another letter case, empty, or on a last line without a line break. Exits with 1\n"
         "when the game does not read KEY in SECTION at all, 2 when FILE cannot be read.\n",
         RunEffective},
    };
}

}  // namespace morvane::cli
