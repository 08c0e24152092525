#include "gameview/ValueCheck.h"

#include "gameview/ReadingKinds.h"

namespace morvane::gameview {

std::vector<ValueProblem> CheckValue(const GameKeys& keys, const GameKey& key, std::string_view value) {
    std::vector<ValueProblem> problems;
    if (!value.empty()) KindOf(key.reading).check(keys, key, std::string(value), problems);
    return problems;
}

}  // namespace morvane::gameview
