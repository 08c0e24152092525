#include "cli/ArgumentReading.h"

namespace morvane::cli {

bool ExpectArgs(const CommandContext& context, const char* name, const char* usage, std::size_t count) {
    if (context.args.size() == count) return true;
    context.err << "usage: morvane-cli " << name << " " << usage << "\n";
    return false;
}

std::optional<std::uint16_t> ParseId(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long value = std::stoul(text);
    if (value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace morvane::cli
