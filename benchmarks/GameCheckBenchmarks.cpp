// How long the game's view of a real 60 KB rules file takes: the check the window repeats after
// every write (read the file, read it as the game does, check every line), against the tree
// build on the same file in the same run.
#include <benchmark/benchmark.h>

#include <string>

#include "TreeReads.h"
#include "gameview/GameCheck.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "platform/FileAccess.h"
#include "platform/IniDocument.h"
#include "platform/ProfileApi.h"
#include "rulesfile/MessageSink.h"
#include "rulesfile/RulesFileAccess.h"
#include "schema/CatalogueFile.h"
#include "tree/Tree.h"
#include "tree/TreeBuilder.h"

namespace {

namespace gameview = morvane::gameview;

using morvane::bench::QuietSink;

// A rules file as modders keep it (the project's fixture, taken from a real mod).
const std::string kRealFile = MORVANE_REAL_RULES_FILE;

void SetCounters(benchmark::State& state, std::size_t bytes, std::size_t findings) {
    state.counters["file_bytes"] = static_cast<double>(bytes);
    state.counters["findings"] = static_cast<double>(findings);
}

// What the window does after an Apply: the file read again and checked as a whole.
void BM_CheckRealFile(benchmark::State& state) {
    const auto bytes = morvane::platform::ReadFileBytes(kRealFile);
    if (!bytes) {
        state.SkipWithError(("cannot read " + kRealFile).c_str());
        return;
    }
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto now = morvane::platform::ReadFileBytes(kRealFile);
        const gameview::GameIni ini(*now);
        findings = gameview::CheckRulesFile(ini, keys).size();
        benchmark::DoNotOptimize(findings);
    }
    SetCounters(state, bytes->size(), findings);
}

// The tree build on the same file, as after opening it.
void BM_BuildTreeRealFile(benchmark::State& state) {
    const auto bytes = morvane::platform::ReadFileBytes(kRealFile);
    if (!bytes) {
        state.SkipWithError(("cannot read " + kRealFile).c_str());
        return;
    }
    morvane::Tree tree;
    QuietSink sink;
    morvane::RulesFileAccess rules(sink);
    rules.SetRulesPath(kRealFile);
    morvane::TreeBuilder builder(tree, morvane::BuiltInCatalogue(), rules);
    for (auto _ : state) {
        rules.Document().Forget();
        builder.BuildTree();
        benchmark::DoNotOptimize(tree.ItemCount());
    }
    SetCounters(state, bytes->size(), 0);
}

// The floor under the tree build: the file read and parsed once, then every value the tree
// shows looked up, and nothing else (no tree, no labels).
void BM_FloorReadRealFile(benchmark::State& state) {
    const morvane::bench::TreeReadList list = morvane::bench::TreeReads(kRealFile);
    if (!list.error.empty()) {
        state.SkipWithError(list.error.c_str());
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto now = morvane::platform::ReadFileBytes(kRealFile);
        bytes = now->size();
        const morvane::platform::IniDocument document(std::move(*now));
        for (const auto& [section, key] : list.reads) benchmark::DoNotOptimize(document.Find(section, key));
    }
    SetCounters(state, bytes, 0);
    state.counters["key_reads"] = static_cast<double>(list.reads.size());
}

BENCHMARK(BM_CheckRealFile)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_BuildTreeRealFile)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FloorReadRealFile)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
