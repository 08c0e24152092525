// The core's reading of a 15 MB rules file, each step on its own: the profile reader's parse
// (`IniDocument`), the game's reading (`GameIni`) and the check of every line. Two shapes: the
// real file followed by note lines (as a file grown by a tool's comments), and the real file
// written again and again (every section and key many times over, which makes many findings).
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "gameview/GameCheck.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "platform/FileAccess.h"
#include "platform/IniDocument.h"

namespace {

namespace gameview = morvane::gameview;

constexpr std::size_t kLargeBytes = 15 * 1000 * 1000;

// 0: the real file and note lines; 1: the real file repeated.
const std::string& LargeFile(std::int64_t shape) {
    static const std::array<std::string, 2> files = [] {
        const auto real = morvane::platform::ReadFileBytes(MORVANE_REAL_RULES_FILE);
        const std::string base = real ? *real : std::string("[General]\r\nCrateMinimum=1\r\n");
        std::string notes = base;
        const std::string note = "; a modder's note kept in the rules file, as long as many of them are ...\r\n";
        while (notes.size() < kLargeBytes) notes += note;
        std::string repeated;
        while (repeated.size() < kLargeBytes) repeated += base;
        return std::array<std::string, 2>{std::move(notes), std::move(repeated)};
    }();
    return files[shape == 0 ? 0 : 1];
}

void SetBytes(benchmark::State& state, const std::string& file) {
    state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_LargeFileParse(benchmark::State& state) {
    const std::string& file = LargeFile(state.range(0));
    for (auto _ : state) {
        const morvane::platform::IniDocument document{std::string(file)};
        benchmark::DoNotOptimize(document.Find("General", "CrateMinimum"));
    }
    SetBytes(state, file);
}

void BM_LargeFileGameView(benchmark::State& state) {
    const std::string& file = LargeFile(state.range(0));
    for (auto _ : state) {
        const gameview::GameIni ini(file);
        benchmark::DoNotOptimize(ini.Lines().size());
    }
    SetBytes(state, file);
}

void BM_LargeFileCheck(benchmark::State& state) {
    const std::string& file = LargeFile(state.range(0));
    const gameview::GameIni ini(file);
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = gameview::CheckRulesFile(ini, gameview::GameKeys::BuiltIn()).size();
        benchmark::DoNotOptimize(findings);
    }
    SetBytes(state, file);
    state.counters["findings"] = static_cast<double>(findings);
}

// The three together, as after a write: parse, the game's reading, the check.
void BM_LargeFileParseGameViewCheck(benchmark::State& state) {
    const std::string& file = LargeFile(state.range(0));
    for (auto _ : state) {
        const morvane::platform::IniDocument document{std::string(file)};
        const gameview::GameIni ini(document.Bytes());
        benchmark::DoNotOptimize(gameview::CheckRulesFile(ini, gameview::GameKeys::BuiltIn()).size());
    }
    SetBytes(state, file);
}

BENCHMARK(BM_LargeFileParse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LargeFileGameView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LargeFileCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LargeFileParseGameViewCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
