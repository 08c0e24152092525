// Build-time tool: turns a data file into a C++ source file.
//   EmbedFile INPUT OUTPUT HEADER NAME
//       the file's bytes as `const char NAME[]` (NUL-terminated) and `NAME##Size`;
//   EmbedFile --catalogue INPUT OUTPUT HEADER NAME
//       a catalogue file (ID<TAB>TEXT lines) checked and decoded into a table the program uses
//       as it stands: NAME##Ids (ascending), NAME##Offsets, NAME##Text and NAME##Count. A
//       mistake in the file stops the build with its line.
//   EmbedFile --game-keys INPUT OUTPUT HEADER NAME
//       the game's key table (resources/game-keys.tsv) as ready arrays: kinds, sections, keys,
//       spellings, sound and animation names, each list with its search orders (see
//       gameview/EmbeddedGameKeys.h). A mistake in the file stops the build with its line.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "../src/gameview/GameKeysSyntax.h"
#include "../src/schema/CatalogueSyntax.h"

namespace {

// Writes `bytes` as the items of a char array initialiser, twenty a line.
void WriteBytes(std::ostream& out, const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 20 == 0) out << "\n   ";
        out << ' ' << static_cast<int>(static_cast<signed char>(bytes[i])) << ',';
    }
}

void WriteFile(std::ostream& out, const std::string& bytes, const std::string& name) {
    out << "const char " << name << "[] = {";
    WriteBytes(out, bytes);
    out << "\n    0};\nconst std::size_t " << name << "Size = " << bytes.size() << ";\n";
}

bool WriteCatalogue(std::ostream& out, const std::string& input, const std::string& bytes, const std::string& name) {
    std::map<std::uint16_t, std::string> entries;
    const auto error = morvane::catalogue_syntax::ReadEntries(bytes, [&entries](std::uint16_t id, std::string&& text) {
        return entries.emplace(id, std::move(text)).second;
    });
    if (error) {
        std::cerr << input << ":" << error->line << ": " << error->message << "\n";
        return false;
    }
    std::string text;
    out << "const std::uint16_t " << name << "Ids[] = {";
    std::size_t index = 0;
    for (const auto& [id, entry] : entries) {
        out << (index++ % 12 == 0 ? "\n   " : "") << ' ' << id << ',';
        text += entry;
    }
    out << "\n    0};\nconst std::uint32_t " << name << "Offsets[] = {";
    std::size_t offset = 0;
    index = 0;
    for (const auto& entry : entries) {
        out << (index++ % 12 == 0 ? "\n   " : "") << ' ' << offset << ',';
        offset += entry.second.size();
    }
    out << "\n    " << offset << "};\nconst char " << name << "Text[] = {";
    WriteBytes(out, text);
    out << "\n    0};\nconst std::size_t " << name << "Count = " << entries.size() << ";\n";
    return true;
}

// A C++ string_view initialiser for `text`: printable ASCII as it is, every other byte, quote
// and backslash as a three-digit octal escape (which never runs on into the next character).
std::string Quoted(std::string_view text) {
    std::string quoted = "{\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\\' && c != '?') {
            quoted += c;
        } else {
            const char digits[] = {'\\', static_cast<char>('0' + (byte >> 6)),
                                   static_cast<char>('0' + ((byte >> 3) & 7)), static_cast<char>('0' + (byte & 7)), 0};
            quoted += digits;
        }
    }
    return quoted + "\", " + std::to_string(text.size()) + "}";
}

// Writes `items` as the initialiser of `const TYPE NAME[]`, one empty item after the last.
template <typename Items, typename Write>
void WriteArray(std::ostream& out, const char* type, const std::string& name, const Items& items, const Write& write,
                const char* empty) {
    out << "const " << type << ' ' << name << "[] = {\n";
    for (const auto& item : items) out << "    " << write(item) << ",\n";
    out << "    " << empty << "};\n";
}

bool WriteGameKeys(std::ostream& out, const std::string& input, const std::string& bytes, const std::string& name) {
    namespace syntax = morvane::game_keys_syntax;
    syntax::Table table;
    if (const auto error = syntax::ReadTable(bytes, table)) {
        std::cerr << input << ":" << error->line << ": " << error->message << "\n";
        return false;
    }
    std::vector<std::string> kinds;
    std::vector<std::string_view> sections;
    std::vector<std::uint16_t> sectionOrderNoCase, keyOrderNoCase;
    std::vector<const syntax::Key*> keys;
    std::vector<std::string_view> spellings;
    for (const syntax::Kind& kind : table.kinds) {
        if (kind.sections.size() > 0xffff || kind.keys.size() > 0xffff || sections.size() > 0xffff ||
            keys.size() > 0xffff) {
            std::cerr << input << ": too many sections or keys for the table\n";
            return false;
        }
        kinds.push_back("{" + Quoted(kind.name) + ", " + (kind.read ? "true" : "false") + ", " +
                        std::to_string(sections.size()) + ", " + std::to_string(kind.sections.size()) + ", " +
                        std::to_string(keys.size()) + ", " + std::to_string(kind.keys.size()) + ", " +
                        std::to_string(spellings.size() / 2) + ", " + std::to_string(kind.spellings.size()) + "}");
        const auto sectionAt = [&kind](std::size_t i) { return std::string_view(kind.sections[i]); };
        const auto keyAt = [&kind](std::size_t i) { return std::string_view(kind.keys[i].name); };
        const auto keysInOrder = syntax::SearchOrder(kind.keys.size(), keyAt, true);
        keyOrderNoCase.insert(keyOrderNoCase.end(), keysInOrder.begin(), keysInOrder.end());
        const auto sectionsInOrder = syntax::SearchOrder(kind.sections.size(), sectionAt, true);
        sectionOrderNoCase.insert(sectionOrderNoCase.end(), sectionsInOrder.begin(), sectionsInOrder.end());
        sections.insert(sections.end(), kind.sections.begin(), kind.sections.end());
        for (const syntax::Key& key : kind.keys) keys.push_back(&key);
        for (const auto& [shipped, read] : kind.spellings) {
            spellings.push_back(shipped);
            spellings.push_back(read);
        }
    }
    const auto same = [](const auto& item) { return item; };
    const auto number = [](std::uint16_t item) { return std::to_string(item); };
    const auto quoted = [](std::string_view item) { return Quoted(item); };
    WriteArray(out, "EmbeddedGameKind", name + "Kinds", kinds, same, "{}");
    out << "const std::size_t " << name << "KindCount = " << kinds.size() << ";\n";
    WriteArray(out, "std::string_view", name + "Sections", sections, quoted, "{}");
    WriteArray(out, "std::uint16_t", name + "SectionOrderNoCase", sectionOrderNoCase, number, "0");
    const auto anySection = [&sections](std::size_t i) { return sections[i]; };
    WriteArray(out, "std::uint16_t", name + "AllSectionOrderNoCase",
               syntax::SearchOrder(sections.size(), anySection, true), number, "0");
    out << "const std::size_t " << name << "SectionCount = " << sections.size() << ";\n";
    WriteArray(
        out, "EmbeddedGameKey", name + "Keys", keys,
        [](const syntax::Key* key) {
            return "{" + Quoted(key->name) + ", " + Quoted(key->reading) + ", " + Quoted(key->builtIn) + "}";
        },
        "{}");
    WriteArray(out, "std::uint16_t", name + "KeyOrderNoCase", keyOrderNoCase, number, "0");
    WriteArray(out, "std::string_view", name + "Spellings", spellings, quoted, "{}");
    for (const auto& [list, title] : {std::pair{&table.sounds, "Sound"}, std::pair{&table.animations, "Animation"}}) {
        const auto& names = *list;
        const auto order = syntax::SearchOrder(
            names.size(), [&names](std::size_t i) { return std::string_view(names[i]); }, true);
        WriteArray(out, "std::string_view", name + title + "s", names, quoted, "{}");
        WriteArray(out, "std::uint16_t", name + title + "Order", order, number, "0");
        out << "const std::size_t " << name << title << "Count = " << names.size() << ";\n";
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 6 ? argv[1] : "";
    const bool catalogue = mode == "--catalogue";
    const bool gameKeys = mode == "--game-keys";
    if (argc != 5 && !catalogue && !gameKeys) {
        std::cerr << "usage: EmbedFile [--catalogue | --game-keys] INPUT OUTPUT HEADER NAME\n";
        return 64;
    }
    char** args = argc == 6 ? argv + 2 : argv + 1;
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        std::cerr << "EmbedFile: cannot read " << args[0] << "\n";
        return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(args[1], std::ios::binary);
    out << "// Generated from " << args[0] << " by EmbedFile; do not edit.\n"
        << "#include \"" << args[2] << "\"\n\nnamespace morvane {\n\n";
    if (catalogue || gameKeys) {
        const bool written =
            catalogue ? WriteCatalogue(out, args[0], bytes, args[3]) : WriteGameKeys(out, args[0], bytes, args[3]);
        if (!written) {
            out.close();
            std::remove(args[1]);
            return 1;
        }
    } else {
        WriteFile(out, bytes, args[3]);
    }
    out << "\n}  // namespace morvane\n";
    if (!out) {
        std::cerr << "EmbedFile: cannot write " << args[1] << "\n";
        return 1;
    }
    return 0;
}
