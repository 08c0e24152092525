// What the check across the game's layers costs against the check of the rules file alone:
// the real 60 KB rules file at the bottom, then AFTRMATH.INI, a map and MPLAYER.INI in a
// skirmish game (all three files read, checked on their own and against each other).
#include <benchmark/benchmark.h>

#include <string>

#include "gamesetup/GameLayerFiles.h"
#include "gameview/GameCheck.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/GameLayers.h"
#include "platform/FileAccess.h"

namespace {

namespace gameview = morvane::gameview;
namespace gamesetup = morvane::gamesetup;

const std::string kRealFile = MORVANE_REAL_RULES_FILE;
const std::string kLayers = MORVANE_LAYER_FIXTURES;

// The rules file alone, as `check` did before it read layers.
void BM_CheckRulesAlone(benchmark::State& state) {
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto bytes = morvane::platform::ReadFileBytes(kRealFile);
        const gameview::GameIni ini(*bytes);
        findings = gameview::CheckRulesFile(ini, keys).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}

// Four layers: the same rules file, then `aftermath` as AFTRMATH.INI, the fixture map and the
// fixture MPLAYER.INI, read from disk and checked as `check --mode skirmish` does.
void CheckFourLayers(benchmark::State& state, const std::string& aftermath) {
    gamesetup::LayerChoice choice;
    choice.rules = kRealFile;
    choice.mode = gameview::GameMode::Skirmish;
    choice.aftermath = {gamesetup::LayerSource::Kind::Given, aftermath};
    choice.mplayer = {gamesetup::LayerSource::Kind::Given, kLayers + "/MPLAYER.INI"};
    choice.scenario = kLayers + "/harbour.mpr";
    std::size_t findings = 0;
    for (auto _ : state) {
        auto loaded = gamesetup::LoadLayers(choice);
        findings = std::get<gamesetup::LoadedLayers>(loaded).stack.CheckAll().size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}

// With the small fixture AFTRMATH.INI.
void BM_CheckFourLayers(benchmark::State& state) { CheckFourLayers(state, kLayers + "/AFTRMATH.INI"); }
// With the 60 KB file again as AFTRMATH.INI: every key of the rules file overridden.
void BM_CheckFourLayersFullAftermath(benchmark::State& state) { CheckFourLayers(state, kRealFile); }

}  // namespace

BENCHMARK(BM_CheckRulesAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckFourLayers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckFourLayersFullAftermath)->Unit(benchmark::kMillisecond);
