#include <filesystem>

#include "cli/CliCommand.h"
#include "cli/LayerOptions.h"
#include "compare/Fingerprint.h"
#include "compare/RulesDelta.h"
#include "compare/RulesDiff.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

constexpr int kExitDiffers = 1;

std::optional<std::string> ReadInput(const CommandContext& context, const std::string& path) {
    platform::FileReadResult read = platform::ReadRegularFile(path);
    if (read.error != 0) {
        context.err << "morvane-cli: " << platform::DescribeFileError(read.error, path) << "\n";
        return std::nullopt;
    }
    return std::move(read.bytes);
}

// Splits the arguments into the operands and the options in `known`; false (with the usage on
// stderr) for an unknown option or the wrong number of operands.
bool ReadArguments(const CommandContext& context, const char* usage, std::size_t operandCount,
                   std::initializer_list<std::pair<const char*, bool*>> known, std::vector<std::string>& operands) {
    for (const std::string& arg : context.args) {
        bool matched = false;
        for (const auto& [name, flag] : known) {
            if (arg != name) continue;
            *flag = true;
            matched = true;
        }
        if (matched) continue;
        if (arg.size() > 1 && arg[0] == '-') {
            context.err << "morvane-cli: unknown option " << arg << "\nusage: morvane-cli " << usage << "\n";
            return false;
        }
        operands.push_back(arg);
    }
    if (operands.size() == operandCount) return true;
    context.err << "usage: morvane-cli " << usage << "\n";
    return false;
}

// A field of comma-separated values, quoted when it must be.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void PrintCsv(std::ostream& out, const compare::RulesDiff& diff) {
    out << "change,section,key,a,b,note\n";
    for (const compare::KeyDifference& key : diff.keys)
        out << "plays," << CsvField(key.section) << ',' << CsvField(key.key) << ',' << CsvField(key.a) << ','
            << CsvField(key.b) << ",\n";
    for (const compare::LineDifference& line : diff.lines) {
        const std::string text = CsvField(line.text);
        out << "text," << CsvField(line.section) << ',' << CsvField(line.key) << ','
            << (line.file == 'A' ? text : std::string()) << ',' << (line.file == 'B' ? text : std::string()) << ','
            << CsvField("line " + std::to_string(line.line) + ": " + line.why) << '\n';
    }
    out << "fingerprint,,," << compare::FingerprintText(diff.fingerprintA) << ','
        << compare::FingerprintText(diff.fingerprintB) << ",\n";
}

// The two games compared, when diff reads layers: each side's stack.
struct Games {
    const gameview::LayerStack& a;
    const gameview::LayerStack& b;
};

// What a layer of the stack is in the game: its file, "forced values", or nothing when it is
// not in play.
std::string LayerInPlay(const gameview::LayerStack& stack, gameview::Layer layer) {
    if (!stack.InPlay(layer)) return {};
    return gameview::IsFileLayer(layer) ? stack.Path(layer) : std::string("forced values");
}

// One row per layer in play on either side: layer,,LAYER,A's file,B's file,MODE.
void PrintLayersCsv(std::ostream& out, const Games& games) {
    for (const gameview::Layer layer : gameview::kAllLayers) {
        if (layer == gameview::Layer::BuiltIn) continue;
        const std::string a = LayerInPlay(games.a, layer), b = LayerInPlay(games.b, layer);
        if (a.empty() && b.empty()) continue;
        out << "layer,," << gameview::LayerWord(layer) << ',' << CsvField(a) << ',' << CsvField(b) << ','
            << gameview::GameModeWord(games.a.Mode()) << '\n';
    }
}

// "skirmish: rules PATH, aftermath PATH, forced values, mplayer PATH".
std::string DescribeGame(const gameview::LayerStack& stack) {
    std::string text = gameview::GameModeWord(stack.Mode());
    const char* separator = ": ";
    for (const gameview::Layer layer : gameview::kAllLayers) {
        if (layer == gameview::Layer::BuiltIn) continue;
        const std::string file = LayerInPlay(stack, layer);
        if (file.empty()) continue;
        text += separator;
        if (gameview::IsFileLayer(layer)) text += std::string(gameview::LayerWord(layer)) + ' ';
        text += file;
        separator = ", ";
    }
    return text;
}

void PrintText(std::ostream& out, const compare::RulesDiff& diff, const std::string& pathA, const std::string& pathB,
               const Games* games) {
    for (const compare::KeyDifference& key : diff.keys)
        out << '[' << key.section << "] " << key.key << ": " << key.a << " -> " << key.b << '\n';
    for (const compare::LineDifference& line : diff.lines)
        out << "same play, " << line.file << ':' << line.line << ": " << line.text << "  (" << line.why << ")\n";
    if (!diff.keys.empty() || !diff.lines.empty()) out << '\n';

    if (diff.keys.empty()) {
        out << "The game plays both files the same.\n";
    } else {
        out << diff.keys.size() << (diff.keys.size() == 1 ? " key plays" : " keys play") << " differently:";
        const char* separator = " ";
        for (const auto& [kind, count] : compare::CountByKind(diff)) {
            out << separator << kind << ' ' << count;
            separator = ", ";
        }
        out << '\n';
    }
    if (games != nullptr)
        out << "game A: " << DescribeGame(games->a) << '\n' << "game B: " << DescribeGame(games->b) << '\n';
    out << "fingerprint A: " << compare::FingerprintText(diff.fingerprintA) << "  " << pathA << '\n'
        << "fingerprint B: " << compare::FingerprintText(diff.fingerprintB) << "  " << pathB << '\n';
    if (diff.keys.empty() && diff.fingerprintA != diff.fingerprintB)
        out << "The fingerprints differ although the game plays both files the same: the game would refuse\n"
               "players with these two files a network game together.\n";
    if (games != nullptr && !diff.keys.empty() && diff.fingerprintA == diff.fingerprintB)
        out << "The fingerprints are the same although the two games play differently: the game compares\n"
               "only the rules files between players and would not notice.\n";
}

// diff with layer options: the same choice of layers on both sides, each rules file with the
// AFTRMATH.INI and MPLAYER.INI beside it unless the options name or leave them out.
int RunLayeredDiff(CommandContext& context, gamesetup::LayerChoice choice, const std::vector<std::string>& files,
                   bool csv) {
    choice.rules = files[0];
    const auto a = LoadLayersOrSay(context, choice);
    if (!a) return kExitUnreadable;
    choice.rules = files[1];
    const auto b = LoadLayersOrSay(context, choice);
    if (!b) return kExitUnreadable;
    const compare::RulesDiff diff = compare::DiffLayers(a->stack, b->stack);
    const Games games{a->stack, b->stack};
    if (csv) {
        PrintCsv(context.out, diff);
        PrintLayersCsv(context.out, games);
    } else {
        PrintText(context.out, diff, files[0], files[1], &games);
    }
    return diff.keys.empty() ? kExitOk : kExitDiffers;
}

int RunDiff(CommandContext& context) {
    constexpr const char* kUsage = "[LAYER OPTIONS] A B [--text] [--csv]";
    bool layered = false;
    const auto choice = TakeLayerOptions(context, "diff", kUsage, {"--text", "--csv"}, &layered);
    if (!choice) return kExitUsage;
    bool text = false, csv = false;
    std::vector<std::string> files;
    if (!ReadArguments(context, "diff [LAYER OPTIONS] A B [--text] [--csv]", 2, {{"--text", &text}, {"--csv", &csv}},
                       files))
        return kExitUsage;
    if (layered && text) {
        context.err << "morvane-cli diff: --text compares two files line by line and takes no layer options\n"
                       "usage: morvane-cli diff "
                    << kUsage << "\n";
        return kExitUsage;
    }
    if (layered) return RunLayeredDiff(context, *choice, files, csv);
    const auto a = ReadInput(context, files[0]);
    if (!a) return kExitUnreadable;
    const auto b = ReadInput(context, files[1]);
    if (!b) return kExitUnreadable;
    const compare::RulesDiff diff = compare::DiffRules(gameview::GameKeys::BuiltIn(), *a, *b, text);
    if (csv)
        PrintCsv(context.out, diff);
    else
        PrintText(context.out, diff, files[0], files[1], nullptr);
    return diff.keys.empty() ? kExitOk : kExitDiffers;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto path = [](const std::string& text) {
        return std::filesystem::path(std::u8string(text.begin(), text.end()));
    };
    return std::filesystem::equivalent(path(a), path(b), error) && !error;
}

int RunDelta(CommandContext& context) {
    std::vector<std::string> files;
    if (!ReadArguments(context, "delta BASE MOD OUT", 3, {}, files)) return kExitUsage;
    const auto base = ReadInput(context, files[0]);
    if (!base) return kExitUnreadable;
    const auto mod = ReadInput(context, files[1]);
    if (!mod) return kExitUnreadable;
    if (SameFile(files[2], files[0]) || SameFile(files[2], files[1])) {
        context.err << "morvane-cli: OUT must be another file than BASE and MOD\n";
        return kExitUsage;
    }
    const compare::RulesDelta delta = compare::MakeDelta(gameview::GameKeys::BuiltIn(), *base, *mod);
    if (const int error = platform::ReplaceFileAtomically(files[2], delta.text); error != 0) {
        context.err << "morvane-cli: " << platform::DescribeFileError(error, files[2]) << "\n";
        return kExitWriteFailed;
    }
    for (const std::string& key : delta.notCarried)
        context.err << "morvane-cli: " << key
                    << ": no text makes the game play MOD's value after BASE (a built-in value the game only keeps, "
                       "or duplicates in MOD)\n";
    return delta.notCarried.empty() ? kExitOk : kExitDiffers;
}

int RunFingerprint(CommandContext& context) {
    std::vector<std::string> files;
    if (!ReadArguments(context, "fingerprint FILE", 1, {}, files)) return kExitUsage;
    const auto bytes = ReadInput(context, files[0]);
    if (!bytes) return kExitUnreadable;
    context.out << compare::FingerprintText(compare::Fingerprint(gameview::GameIni(*bytes))) << '\n';
    return kExitOk;
}

}  // namespace

std::vector<Command> CompareCommands() {
    return {
        {"diff", "[LAYER OPTIONS] A B [--text] [--csv]", "show every key the game plays differently in two rules files",
         "Reads both files the way the game does and prints one line for each key whose played\n"
         "value differs, sections and keys in the order the game reads them:\n\n"
         "  [SECTION] KEY: A_VALUE -> B_VALUE\n\n"
         "A value is shown as the file writes it; \"absent\" means the file does not give the key\n"
         "and the game uses its built-in value, which follows in brackets. Spacing, notes, blank\n"
         "lines, line order, line endings, letter case the game ignores and values written\n"
         "differently but read alike (25% and .25) make no difference; a key in a letter case the\n"
         "game does not read counts as absent. Where duplicates leave the game's choice open, all\n"
         "the values it may take are shown. A summary follows: how many keys differ for each kind\n"
         "of section, and both files' fingerprints (see fingerprint), with a warning when they\n"
         "differ although the game plays both files the same.\n\n"
         "  --text  also list the lines that differ without changing what the game plays (a\n"
         "          note, spacing, a duplicate the game hides, a key it does not read), each with\n"
         "          the reason it changes nothing\n"
         "  --csv   print comma-separated values instead: change,section,key,a,b,note, where\n"
         "          change is plays, text (with --text) or fingerprint\n\n"
         "Without layer options only A and B are compared, nothing beside them. With any layer\n"
         "option diff compares two games instead: what the game plays once it has read A and\n"
         "the files it reads on top of it, against B and the files on top of B. The options\n"
         "apply to both sides alike: A's game takes the AFTRMATH.INI and MPLAYER.INI beside A,\n"
         "B's game those beside B, unless --aftermath or --mplayer name one file for both or\n"
         "--no-aftermath or --no-mplayer leave them out; --scenario puts the same map on top of\n"
         "both. Duplicates there count as resolve reads them: the first section and entry. A\n"
         "value that a layer above the rules file decides is followed by that layer and\n"
         "its FILE:LINE in brackets, and the summary names each game's mode and files. The\n"
         "fingerprints stay those of A and B, since the game compares only the rules files\n"
         "between players; the summary says when they are the same although the two games play\n"
         "differently. --text does not go with layer options. With --csv, one row a layer in\n"
         "play follows: layer,,LAYER,A's file,B's file,MODE.\n\n" MORVANE_LAYER_OPTIONS_HELP
         "\nExits with 0 when the game plays both files the same, 1 when it does not, 2 when a\n"
         "file cannot be read.\n",
         RunDiff},
        {"delta", "BASE MOD OUT", "write the keys the game plays differently in MOD than in BASE",
         "Writes OUT, a rules file holding each key the game reads differently in MOD than in\n"
         "BASE, in its section, in the game's order, with its value as MOD writes it (or, where\n"
         "MOD leaves the key to the game, the game's built-in value). Read after BASE, the way\n"
         "the game reads a second rules file on top of the first, OUT plays as MOD. Keys that a\n"
         "present section resets (the crates of [Powerups], the terrain values, a warhead's\n"
         "Verses, ...) go along with their section.\n\n"
         "Exits with 0 when OUT plays as MOD; 1 when OUT was written but some key could not be\n"
         "carried (each is named on standard error: a built-in value the game only keeps, or\n"
         "duplicates in MOD that leave the game's choice open); 2 when a file cannot be read or\n"
         "OUT cannot be written.\n",
         RunDelta},
        {"fingerprint", "FILE", "print the number the game compares between network players",
         "Prints the 32-bit number the game computes from its loaded rules file and compares\n"
         "between players before a network game, as eight hexadecimal digits. Players whose\n"
         "numbers differ are refused. Notes, blank lines, spacing around \"=\" and line endings do\n"
         "not change it; the order of sections and keys, letter case and every kept duplicate\n"
         "do. Exits with 2 when FILE cannot be read.\n",
         RunFingerprint},
    };
}

}  // namespace morvane::cli
