#include "gameview/ValueCheck.h"

#include "gameview/ReadingKinds.h"

namespace morvane::gameview {

std::vector<ValueProblem> CheckValue(const GameKeys& keys, const GameKey& key, const std::string& value) {
    std::vector<ValueProblem> problems;
    if (!value.empty()) KindOf(key.reading).check(keys, key, value, problems);
    return problems;
}

}  // namespace morvane::gameview
