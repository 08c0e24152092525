#pragma once

#include <string>
#include <string_view>

#include "schema/Descriptor.h"

namespace morvane {

// Whether `text` is a value the key's kind and range take: empty when it is, otherwise why
// not, in words a modder reads beside the field ("not a whole number", "above the largest
// value 32767"). Only the kinds typed as text are checked (integers, real numbers,
// percentages, crate powerups, Verses); yes/no and list keys are chosen from their controls
// and always pass. The text is taken trimmed.
std::string InputProblem(const Descriptor& descriptor, std::string_view text);

}  // namespace morvane
