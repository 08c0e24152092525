// Build-time tool: turns a data file into a C++ source file.
//   EmbedFile INPUT OUTPUT HEADER NAME
//       the file's bytes as `const char NAME[]` (NUL-terminated) and `NAME##Size`;
//   EmbedFile --catalogue INPUT OUTPUT HEADER NAME
//       a catalogue file (ID<TAB>TEXT lines) checked and decoded into a table the program uses
//       as it stands: NAME##Ids (ascending), NAME##Offsets, NAME##Text and NAME##Count. A
//       mistake in the file stops the build with its line.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>

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

}  // namespace

int main(int argc, char** argv) {
    const bool catalogue = argc == 6 && std::string(argv[1]) == "--catalogue";
    if (argc != 5 && !catalogue) {
        std::cerr << "usage: EmbedFile [--catalogue] INPUT OUTPUT HEADER NAME\n";
        return 64;
    }
    char** args = catalogue ? argv + 2 : argv + 1;
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        std::cerr << "EmbedFile: cannot read " << args[0] << "\n";
        return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(args[1], std::ios::binary);
    out << "// Generated from " << args[0] << " by EmbedFile; do not edit.\n"
        << "#include \"" << args[2] << "\"\n\nnamespace morvane {\n\n";
    if (catalogue) {
        if (!WriteCatalogue(out, args[0], bytes, args[3])) {
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
