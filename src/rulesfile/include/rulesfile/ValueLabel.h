#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The label of a key item: the bare key (no value in the file) or key " = " value.
std::string MakeValueLabel(std::string_view key, const std::optional<std::string>& value);

// A label split at its first "=": the key and the value, each trimmed. A label without "="
// is all key, with no value.
struct ValueLabelParts {
    std::string key;
    std::string value;
    bool hasValue = false;
};
ValueLabelParts SplitValueLabel(std::string_view label);

// The label up to its first "=" (all of it when it has none), trailing white space removed.
std::string KeyOfLabel(std::string_view label);

// The text of the message shown when a write to the file at `path` fails: the fixed first line
// with the number, the section and key, then what went wrong and what to do (for a refused
// write, 87, the caller adds which character is refused and why).
std::string SaveFailureMessage(int error, std::string_view section, std::string_view key, const std::string& path);

}  // namespace morvane
