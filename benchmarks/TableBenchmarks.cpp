// How long the vehicles table takes to build with every key the game reads for vehicles as a
// column, from a real 60 KB rules file: the work a table view does before it paints. The
// figure that matters is the median wall time as a share of one frame at 60 Hz (16.7 ms):
//   build-benchmark/bin/morvane_benchmarks --benchmark_filter=VehiclesTable --benchmark_repetitions=9
#include <benchmark/benchmark.h>

#include <string>

#include "gameview/GameKeys.h"
#include "gameview/GameLayers.h"
#include "gameview/ObjectTable.h"
#include "gameview/PlayedValues.h"
#include "platform/FileAccess.h"

namespace {

namespace gameview = morvane::gameview;

const std::string kRealFile = MORVANE_REAL_RULES_FILE;
void BM_VehiclesTableEveryKey(benchmark::State& state) {
    const auto bytes = morvane::platform::ReadFileBytes(kRealFile);
    if (!bytes) {
        state.SkipWithError(("cannot read " + kRealFile).c_str());
        return;
    }
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const gameview::TableGroup& group = *gameview::FindTableGroup("vehicles");
    const std::vector<std::string> columns = gameview::AllKeys(keys, group);
    gameview::LayerStack stack;
    stack.SetFile(gameview::Layer::Rules, kRealFile, *bytes);
    stack.SetMode(gameview::GameMode::Skirmish);
    const gameview::LayerStackPlay play(stack);
    const gameview::PlayedValues values(keys, play);
    std::size_t cells = 0;
    for (auto _ : state) {
        const auto table = gameview::BuildObjectTable(values, group, columns);
        cells = std::get<0>(table).cells.size() * columns.size();
        benchmark::DoNotOptimize(cells);
    }
    state.counters["cells"] = static_cast<double>(cells);
    state.counters["columns"] = static_cast<double>(columns.size());
}
BENCHMARK(BM_VehiclesTableEveryKey)->Unit(benchmark::kMillisecond);

// The same after reading the file again, as when the file changed on disk.
void BM_VehiclesTableEveryKeyFromBytes(benchmark::State& state) {
    const auto bytes = morvane::platform::ReadFileBytes(kRealFile);
    if (!bytes) {
        state.SkipWithError(("cannot read " + kRealFile).c_str());
        return;
    }
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const gameview::TableGroup& group = *gameview::FindTableGroup("vehicles");
    const std::vector<std::string> columns = gameview::AllKeys(keys, group);
    for (auto _ : state) {
        gameview::LayerStack stack;
        stack.SetFile(gameview::Layer::Rules, kRealFile, *bytes);
        stack.SetMode(gameview::GameMode::Skirmish);
        const gameview::LayerStackPlay play(stack);
        const gameview::PlayedValues values(keys, play);
        const auto table = gameview::BuildObjectTable(values, group, columns);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_VehiclesTableEveryKeyFromBytes)->Unit(benchmark::kMillisecond);

}  // namespace
