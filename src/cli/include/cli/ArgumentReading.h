#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/CliCommand.h"

namespace morvane::cli {

// Checks the number of arguments; prints the usage line on stderr when it is wrong.
bool ExpectArgs(const CommandContext& context, const char* name, const char* usage, std::size_t count);

// A catalogue id given on the command line: a decimal number from 0 to 65535.
std::optional<std::uint16_t> ParseId(const std::string& text);

}  // namespace morvane::cli
