// libFuzzer target for the game's line reader (GameIni): any bytes are read without a crash,
// and what it keeps obeys the game's own limits.
//
//  1. Lines are numbered 1, 2, 3, ... in order, one for each line feed, plus one for a last
//     line without a line feed when it has any text.
//  2. Every kept entry has a key and a value, neither holding a carriage return, a line feed
//     or ";" (a note starts there), and together with their "=" they fit in the line limit.
//  3. An entry's line is an Entry line of the section it is listed in; in the first section of
//     its name that holds any entry (the one the game reads), Find() gives an entry of its key.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "gameview/GameIni.h"

namespace {

using morvane::gameview::GameIni;
using morvane::gameview::LineKind;

void Require(bool condition, const char* text, int line) {
    if (condition) return;
    std::fprintf(stderr, "GameIniFuzzer.cpp:%d: property broken: %s\n", line, text);
    __builtin_trap();
}
#define REQUIRE(condition) Require((condition), #condition, __LINE__)

bool Clean(std::string_view text) { return text.find_first_of("\r\n;") == std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const GameIni ini(bytes);

    const auto& lines = ini.Lines();
    for (std::size_t index = 0; index < lines.size(); ++index) REQUIRE(lines[index].number == index + 1);
    std::size_t feeds = 0;
    for (const char c : bytes) feeds += c == '\n' ? 1 : 0;
    REQUIRE(lines.size() == feeds || lines.size() == feeds + 1);

    const auto& sections = ini.Sections();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        for (const auto& entry : sections[s].entries) {
            REQUIRE(!entry.key.empty() && !entry.value.empty());
            REQUIRE(Clean(entry.key) && Clean(entry.value));
            REQUIRE(entry.key.size() + 1 + entry.value.size() <= morvane::gameview::kGameLineLimit);
            REQUIRE(entry.line >= 1 && entry.line <= lines.size());
            const auto& line = lines[entry.line - 1];
            REQUIRE(line.kind == LineKind::Entry && line.section == s);
            std::size_t read = 0;
            while (sections[read].name != sections[s].name || sections[read].entries.empty()) ++read;
            if (read != s) continue;
            const auto* found = ini.Find(sections[s].name, entry.key);
            REQUIRE(found != nullptr && found->key == entry.key);
        }
    }
    return 0;
}
