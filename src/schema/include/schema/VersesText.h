#pragma once

#include <array>
#include <string>
#include <string_view>

namespace morvane {

// The five numbers of a warhead's Verses value (none, wood, light, heavy, concrete): each is
// the text before the next "%"; the "%", one separator and the blanks after it are dropped.
// Fields `value` lacks come from `fallback` the same way, and then 0.
std::array<std::string, 5> VersesNumbers(std::string_view value, std::string_view fallback);

// A Verses value as the game reads it: the five percentages separated by commas only
// ("100%,50%,60%,25%,25%"). The game splits Verses at commas, so blanks between the fields
// would leave four of them at 0.
std::string VersesForFile(std::string_view value, std::string_view fallback);

}  // namespace morvane
