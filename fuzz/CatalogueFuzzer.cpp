// libFuzzer target for the catalogue reader: any text is either a table or an error naming a
// line of the text, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>

#include "schema/CatalogueFile.h"

namespace {

void Require(bool condition, const char* text, int line) {
    if (condition) return;
    std::fprintf(stderr, "CatalogueFuzzer.cpp:%d: property broken: %s\n", line, text);
    __builtin_trap();
}
#define REQUIRE(condition) Require((condition), #condition, __LINE__)

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const auto parsed = morvane::ParseCatalogue(content);
    if (const auto* error = std::get_if<morvane::CatalogueError>(&parsed)) {
        std::size_t lines = 1;
        for (const char c : content) lines += c == '\n' ? 1 : 0;
        REQUIRE(error->line >= 1 && error->line <= lines);
        REQUIRE(!error->message.empty());
        return 0;
    }
    const auto& table = std::get<morvane::StringTable>(parsed);
    for (std::uint32_t id = 0; id <= 0xFFFF; id += 257) static_cast<void>(table.Text(static_cast<std::uint16_t>(id)));
    return 0;
}
