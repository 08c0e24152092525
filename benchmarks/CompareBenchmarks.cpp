// How long comparing two rules files takes, against one check of the larger file in the same
// run. The files are MORVANE_COMPARE_A and MORVANE_COMPARE_B when set; otherwise the project's
// real fixture and a copy of it with every Strength raised tenfold.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "compare/Fingerprint.h"
#include "compare/RulesDiff.h"
#include "gameview/GameCheck.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "platform/FileAccess.h"

namespace {

namespace gameview = morvane::gameview;
namespace compare = morvane::compare;

struct Pair {
    std::string pathA, pathB;  // for reading again in each round
    std::string a, b;
    bool ok = false;
};

std::string EditedCopy(const std::string& bytes) {
    std::string edited;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        end = end == std::string::npos ? bytes.size() : end + 1;
        std::string line = bytes.substr(at, end - at);
        if (line.rfind("Strength=", 0) == 0)
            line.insert(line.find_first_of("\r\n;") == std::string::npos ? line.size() : line.find_first_of("\r\n;"),
                        "0");
        edited += line;
        at = end;
    }
    return edited;
}

const Pair& Files() {
    static const Pair pair = [] {
        Pair result;
        const char* a = std::getenv("MORVANE_COMPARE_A");
        const char* b = std::getenv("MORVANE_COMPARE_B");
        result.pathA = a != nullptr ? a : MORVANE_REAL_RULES_FILE;
        const auto bytesA = morvane::platform::ReadFileBytes(result.pathA);
        if (!bytesA) return result;
        result.a = *bytesA;
        if (b != nullptr) {
            result.pathB = b;
            const auto bytesB = morvane::platform::ReadFileBytes(result.pathB);
            if (!bytesB) return result;
            result.b = *bytesB;
        } else {
            result.b = EditedCopy(result.a);
        }
        result.ok = true;
        return result;
    }();
    return pair;
}

// The whole of `morvane-cli diff A B` but the printing: both files read, every key the game
// reads compared, both fingerprints; with the argument 1 also the lines that change nothing.
void BM_DiffTwoFiles(benchmark::State& state) {
    const Pair& files = Files();
    if (!files.ok) {
        state.SkipWithError("cannot read the files");
        return;
    }
    std::size_t differences = 0;
    for (auto _ : state) {
        const std::string a = morvane::platform::ReadFileBytes(files.pathA).value_or(files.a);
        const std::string b =
            files.pathB.empty() ? files.b : morvane::platform::ReadFileBytes(files.pathB).value_or("");
        const compare::RulesDiff diff = compare::DiffRules(gameview::GameKeys::BuiltIn(), a, b, state.range(0) != 0);
        differences = diff.keys.size() + diff.lines.size();
        benchmark::DoNotOptimize(differences);
    }
    state.counters["differences"] = static_cast<double>(differences);
}
BENCHMARK(BM_DiffTwoFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One `morvane-cli check` of the larger of the two files: read it, read it as the game does,
// check every line.
void BM_CheckLargerFile(benchmark::State& state) {
    const Pair& files = Files();
    if (!files.ok) {
        state.SkipWithError("cannot read the files");
        return;
    }
    const bool aIsLarger = files.a.size() >= files.b.size() || files.pathB.empty();
    const std::string& path = aIsLarger ? files.pathA : files.pathB;
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto bytes = morvane::platform::ReadFileBytes(path);
        const gameview::GameIni ini(*bytes);
        findings = gameview::CheckRulesFile(ini, gameview::GameKeys::BuiltIn()).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["file_bytes"] = static_cast<double>(aIsLarger ? files.a.size() : files.b.size());
}
BENCHMARK(BM_CheckLargerFile)->Unit(benchmark::kMillisecond);

// The fingerprint alone: the game's reading, the text it writes back and its digest.
void BM_FingerprintFile(benchmark::State& state) {
    const Pair& files = Files();
    if (!files.ok) {
        state.SkipWithError("cannot read the files");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(compare::Fingerprint(gameview::GameIni(files.a)));
}
BENCHMARK(BM_FingerprintFile)->Unit(benchmark::kMillisecond);

}  // namespace
