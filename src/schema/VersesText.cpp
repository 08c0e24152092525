#include "schema/VersesText.h"

#include "common/TextOps.h"

namespace morvane {
namespace {

bool HasField(const std::string& text) { return text.find('%') != std::string::npos; }

std::string TakeField(std::string& text) {
    const Split split = SplitAtFirst(text, '%');
    std::string number(split.before);
    std::string_view rest = split.after;
    if (!rest.empty()) rest.remove_prefix(1);
    text = std::string(TrimLeft(rest));
    return number;
}

}  // namespace

std::array<std::string, 5> VersesNumbers(std::string_view value, std::string_view fallback) {
    std::string remaining(value);
    std::string spare(fallback);
    std::array<std::string, 5> numbers;
    for (std::string& number : numbers) {
        if (HasField(remaining))
            number = TakeField(remaining);
        else if (HasField(spare))
            number = TakeField(spare);
        else
            number.push_back('0');  // number is still empty
    }
    return numbers;
}

std::string VersesForFile(std::string_view value, std::string_view fallback) {
    std::string joined;
    for (const std::string& number : VersesNumbers(value, fallback)) {
        if (!joined.empty()) joined += ',';
        joined.append(Trim(number));
        joined.push_back('%');
    }
    return joined;
}

}  // namespace morvane
