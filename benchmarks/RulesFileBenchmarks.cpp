// How long the editor takes to fill its tree from a rules file, to write one value back (with
// and without the writers' lock), to parse a file full of note lines, and to write one Match All.
//
// The rules file is made here, in a temporary folder: every key the catalogue knows at its
// default, laid out the way modders keep their files (notes after most values, lined up in a
// column, a few note lines and blank lines between sections), about 60 KB.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FloorWriter.h"
#include "ProcessRun.h"
#include "TreeReads.h"
#include "UnlockedEdit.h"
#include "editor/EditHistory.h"
#include "editor/MatchAllPlan.h"
#include "platform/FileAccess.h"
#include "platform/IniDocument.h"
#include "platform/ProfileApi.h"
#include "rulesfile/MessageSink.h"
#include "rulesfile/RulesFileAccess.h"
#include "schema/CatalogueFile.h"
#include "schema/DefaultRulesFile.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"
#include "tree/TreeBuilder.h"
#include "tree/TreePath.h"

namespace {

using morvane::BuiltInCatalogue;
using morvane::RulesFileAccess;
using morvane::Tree;
using morvane::TreeBuilder;
using morvane::TreeItem;
namespace platform = morvane::platform;

using SilentSink = morvane::bench::QuietSink;

// The notes a modder leaves after values.
constexpr std::string_view kNotes[] = {
    "hit points",      "was 300 in 1.08",  "cost in credits",    "cells per game tick",
    "balance tweak",   "leave as is",      "tested in skirmish", "raised for the mod",
    "lower = faster",  "see forum thread", "original value",     "TODO check vs AI",
    "percent of full", "in leptons",       "keep below 255",     "matches the Soviet side",
};

// The default rules file rewritten the way players keep theirs: three key lines in five get a
// note lined up at column 22 (or two blanks after a longer line), every third section gets a
// note line above its header and every eighth a blank line. That comes to about 60 KB.
std::string MakeRealisticRulesFile() {
    const std::string plain = morvane::MakeDefaultRulesFile(BuiltInCatalogue());
    std::string out =
        "; Rules for my Red Alert mod.\r\n"
        "; Changed values are marked; everything else is as the game ships it.\r\n"
        "\r\n";
    std::size_t keyLines = 0;
    std::size_t sections = 0;
    std::size_t at = 0;
    while (at < plain.size()) {
        std::size_t end = plain.find("\r\n", at);
        if (end == std::string::npos) end = plain.size();
        std::string line = plain.substr(at, end - at);
        at = end + 2;

        if (!line.empty() && line.front() == '[') {
            ++sections;
            if (sections % 8 == 0) out += "\r\n";
            if (sections % 3 == 0) out += "; --- " + line.substr(1, line.size() - 2) + " ---\r\n";
        } else if (!line.empty() && line.front() != ';' && line.find('=') != std::string::npos) {
            if (keyLines % 5 < 3) {
                constexpr std::size_t kColumn = 22;
                line.append(line.size() + 2 <= kColumn ? kColumn - line.size() : 2, ' ');
                line += "; ";
                line += kNotes[keyLines % std::size(kNotes)];
            }
            ++keyLines;
        }
        out += line + "\r\n";
    }
    return out;
}

// A temporary folder holding the rules file, made on first use and removed at exit.
class RulesFixture {
public:
    static RulesFixture& Get() {
        static RulesFixture fixture;
        return fixture;
    }

    const std::string& Path() const { return m_path; }
    std::size_t FileSize() const { return m_size; }
    // A second copy that the write benchmark edits, so the read benchmarks see the same file.
    const std::string& WritePath() const { return m_writePath; }

    // Every (section, key) read a tree build performs, in its order.
    const std::vector<std::pair<std::string, std::string>>& Reads() const { return m_reads; }
    // Empty, or why the reads could not be worked out.
    const std::string& Error() const { return m_error; }

    RulesFixture(const RulesFixture&) = delete;
    RulesFixture& operator=(const RulesFixture&) = delete;

private:
    RulesFixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        m_folder = pattern;
        m_path = (m_folder / "rules.ini").string();
        m_writePath = (m_folder / "rules-written.ini").string();
        const std::string bytes = MakeRealisticRulesFile();
        m_size = bytes.size();
        for (const std::string& path : {m_path, m_writePath}) {
            std::ofstream(path, std::ios::binary) << bytes;
        }
        CollectReads();
    }
    ~RulesFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    void CollectReads() {
        morvane::bench::TreeReadList list = morvane::bench::TreeReads(m_path);
        m_reads = std::move(list.reads);
        m_error = std::move(list.error);
    }

    std::filesystem::path m_folder;
    std::string m_path;
    std::string m_writePath;
    std::size_t m_size = 0;
    std::vector<std::pair<std::string, std::string>> m_reads;
    std::string m_error;
};

void SetFileCounters(benchmark::State& state, const RulesFixture& fixture) {
    state.counters["file_bytes"] = static_cast<double>(fixture.FileSize());
    state.counters["key_reads"] = static_cast<double>(fixture.Reads().size());
}

// The whole tree as the editor builds it after opening a file: the first read parses the file,
// every later read finds the parse in the document, which is forgotten before each build
// so that every iteration pays for that one parse.
void BM_BuildTree(benchmark::State& state) {
    const RulesFixture& fixture = RulesFixture::Get();
    if (!fixture.Error().empty()) {
        state.SkipWithError(fixture.Error().c_str());
        return;
    }
    Tree tree;
    SilentSink sink;
    RulesFileAccess rules(sink);
    rules.SetRulesPath(fixture.Path());
    TreeBuilder builder(tree, BuiltInCatalogue(), rules);
    for (auto _ : state) {
        rules.Document().Forget();
        builder.BuildTree();
        benchmark::DoNotOptimize(tree.ItemCount());
    }
    SetFileCounters(state, fixture);
}

// What the same reads would cost if each one opened, read and parsed the whole file, as a
// plain profile call does: the same (section, key) reads in the same order, each one a profile
// call that reads the file anew. The tree itself is not built here, so this is a lower bound of an
// uncached build and the ratio to BM_BuildTree understates the gain.
void BM_BuildTreeBaseline(benchmark::State& state) {
    const RulesFixture& fixture = RulesFixture::Get();
    if (!fixture.Error().empty()) {
        state.SkipWithError(fixture.Error().c_str());
        return;
    }
    for (auto _ : state) {
        for (const auto& [section, key] : fixture.Reads()) {
            benchmark::DoNotOptimize(platform::GetPrivateProfileString(section, key, "Empty", fixture.Path()));
        }
    }
    SetFileCounters(state, fixture);
}

// One value written by `write`, in the middle of the file, so that the edit is neither at the
// start nor the end. Two values take turns so that every write really changes the file.
void WriteOneValueWith(benchmark::State& state, int (*write)(const std::string& path, std::string_view section,
                                                             std::string_view key, std::string_view value)) {
    const RulesFixture& fixture = RulesFixture::Get();
    if (!fixture.Error().empty()) {
        state.SkipWithError(fixture.Error().c_str());
        return;
    }
    const auto& [section, key] = fixture.Reads()[fixture.Reads().size() / 2];
    const std::string values[] = {"1234", "987"};
    std::size_t turn = 0;
    for (auto _ : state) {
        if (const int error = write(fixture.WritePath(), section, key, values[turn++ % 2])) {
            state.SkipWithError(("write failed with error " + std::to_string(error)).c_str());
            break;
        }
    }
    state.counters["file_bytes"] = static_cast<double>(fixture.FileSize());
}

// One value written the way Apply writes it: the file read, edited, written to a temporary
// file, flushed to disk and renamed over the original.
void BM_WriteOneValue(benchmark::State& state) {
    WriteOneValueWith(
        state, [](const std::string& path, std::string_view section, std::string_view key, std::string_view value) {
            return platform::WritePrivateProfileString(section, key, value, path);
        });
}

// The floor under BM_WriteOneValue: the same edit with nothing but read, edit, temporary file,
// flush, rename and folder flush.
void BM_FloorWrite(benchmark::State& state) { WriteOneValueWith(state, morvane::bench::FloorWrite); }

// One value written by a whole process: `morvane-cli set` against the floor writer as a
// program (morvane_floor_writer), both started afresh for every write.
void WriteByProcess(benchmark::State& state, const std::string& program) {
    const RulesFixture& fixture = RulesFixture::Get();
    if (!fixture.Error().empty()) {
        state.SkipWithError(fixture.Error().c_str());
        return;
    }
    const auto& [section, key] = fixture.Reads()[fixture.Reads().size() / 2];
    const std::string executable = morvane::bench::ProgramFolder() + "/" + program;
    const std::string values[] = {"1234", "987"};
    std::size_t turn = 0;
    double cpu = 0;
    for (auto _ : state) {
        std::vector<std::string> arguments{executable};
        if (program == "morvane-cli") arguments.emplace_back("set");
        arguments.insert(arguments.end(), {fixture.WritePath(), section, key, values[turn++ % 2]});
        const morvane::bench::ProcessResult result = morvane::bench::RunProcess(arguments);
        if (result.exitCode != 0) {
            state.SkipWithError((program + " failed with exit code " + std::to_string(result.exitCode)).c_str());
            break;
        }
        cpu += result.cpuSeconds;
    }
    // The child's processor time: on a busy machine its wall time mostly measures the others.
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}
void BM_CliSetProcess(benchmark::State& state) { WriteByProcess(state, "morvane-cli"); }
void BM_FloorWriterProcess(benchmark::State& state) { WriteByProcess(state, "morvane_floor_writer"); }

// The write path of the profile API with and without the writers' lock: the same file, the same
// edit (read, one parse, one key changed, temporary file flushed and renamed over), so the
// difference is what taking and checking the lock costs.
void WriteThrough(benchmark::State& state, int (*edit)(const std::string&, const platform::FileEdit&)) {
    const RulesFixture& fixture = RulesFixture::Get();
    if (!fixture.Error().empty()) {
        state.SkipWithError(fixture.Error().c_str());
        return;
    }
    const auto& [section, key] = fixture.Reads()[fixture.Reads().size() / 2];
    const std::string values[] = {"1234", "987"};
    std::size_t turn = 0;
    for (auto _ : state) {
        const std::string& value = values[turn++ % 2];
        const int error =
            edit(fixture.WritePath(), [&](const std::optional<std::string>& current, std::string& replacement) {
                replacement = platform::IniDocument(current.value_or("")).WithValue(section, key, value);
                return 0;
            });
        if (error != 0) {
            state.SkipWithError(("write failed with error " + std::to_string(error)).c_str());
            break;
        }
    }
    state.counters["file_bytes"] = static_cast<double>(fixture.FileSize());
}

void BM_WriteLocked(benchmark::State& state) {
    WriteThrough(
        state, [](const std::string& path, const platform::FileEdit& edit) { return platform::EditFile(path, edit); });
}
void BM_WriteUnlocked(benchmark::State& state) { WriteThrough(state, platform::EditFileWithoutLock); }

// A section followed by 40,000 lines of prose: once as note lines without "=", once as ";"
// comments. Parsing both should cost about the same, as each line is looked at once.
std::string NoteLinesFile(std::string_view prefix) {
    std::string file = "[General]\r\nCrateMinimum=1\r\n";
    for (int line = 0; line < 40000; ++line) {
        file += prefix;
        file += "this unit was made cheaper in the second round of play testing, see note ";
        file += std::to_string(line);
        file += "\r\n";
    }
    file += "[E1]\r\nCost=100\r\n";
    return file;
}

void ParseNoteLines(benchmark::State& state, std::string_view prefix) {
    const std::string file = NoteLinesFile(prefix);
    for (auto _ : state) {
        const platform::IniDocument document(file);
        benchmark::DoNotOptimize(document.Find("E1", "Cost"));
    }
    state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_ParseNoteLines(benchmark::State& state) { ParseNoteLines(state, ""); }
void BM_ParseCommentLines(benchmark::State& state) { ParseNoteLines(state, "; "); }

// The sections a Match All of Cost over the 37 civilian buildings writes: every sibling of the
// first one, as the window plans it.
std::vector<std::string> CivilianSiblings(const RulesFixture& fixture) {
    Tree tree;
    SilentSink sink;
    RulesFileAccess rules(sink);
    rules.SetRulesPath(fixture.Path());
    morvane::ItemFileAccess items(BuiltInCatalogue(), tree, rules);
    TreeBuilder(tree, BuiltInCatalogue(), rules).BuildTree();
    const TreeItem cost = morvane::FindItemByPath(tree, "Structures\\Civilian\\Civilian Type 1\\Cost");
    if (cost == morvane::kNoItem) return {};
    tree.SetItemValue(cost, "31337");  // a value no sibling holds, so that every one is planned
    std::vector<std::string> sections;
    for (const morvane::MatchAllChange& change : morvane::PlanMatchAll(tree, items, cost).changes)
        sections.push_back(change.section);
    return sections;
}

// Match All over the civilian buildings as it was: one full, durable rewrite of the file per
// sibling section. Two values take turns so that every write changes the file.
void BM_MatchAllOneWritePerSibling(benchmark::State& state) {
    const RulesFixture& fixture = RulesFixture::Get();
    const std::vector<std::string> sections = CivilianSiblings(fixture);
    if (sections.empty()) {
        state.SkipWithError("no civilian buildings in the tree");
        return;
    }
    const std::string values[] = {"1234", "987"};
    std::size_t turn = 0;
    for (auto _ : state) {
        const std::string& value = values[turn++ % 2];
        for (const std::string& section : sections) {
            if (const int error = platform::WritePrivateProfileString(section, "Cost", value, fixture.WritePath())) {
                state.SkipWithError(("write failed with error " + std::to_string(error)).c_str());
                return;
            }
        }
    }
    state.counters["sections"] = static_cast<double>(sections.size());
}

// The same Match All as the window does it now: all siblings in one read and one replace.
void BM_MatchAllOneBatch(benchmark::State& state) {
    const RulesFixture& fixture = RulesFixture::Get();
    const std::vector<std::string> sections = CivilianSiblings(fixture);
    if (sections.empty()) {
        state.SkipWithError("no civilian buildings in the tree");
        return;
    }
    const std::string values[] = {"1234", "987"};
    std::vector<platform::ProfileWrite> batches[2];
    for (std::size_t i = 0; i < 2; ++i)
        for (const std::string& section : sections) batches[i].push_back({section, "Cost", values[i]});
    std::size_t turn = 0;
    for (auto _ : state) {
        if (const int error = platform::WritePrivateProfileStrings(batches[turn++ % 2], fixture.WritePath())) {
            state.SkipWithError(("write failed with error " + std::to_string(error)).c_str());
            return;
        }
    }
    state.counters["sections"] = static_cast<double>(sections.size());
}

// The window's history after 1,000 Applies on a 6 MB file: each step keeps the line it
// changed, as the locked write reported it. `history_KiB` is what the steps take.
void BM_HistoryOf1000Applies(benchmark::State& state) {
    const std::string path = RulesFixture::Get().WritePath() + ".history.ini";
    std::string file = "[General]\r\nCrateMinimum=1\r\n";
    while (file.size() < 6 * 1000 * 1000) file += "; a modder's note kept in the rules file, as long as many ...\r\n";
    file += "[E1]\r\nCost=100\r\n";
    std::size_t bytes = 0;
    std::size_t steps = 0;
    for (auto _ : state) {
        if (platform::ReplaceFileAtomically(path, file) != 0) {
            state.SkipWithError("cannot write the file");
            return;
        }
        SilentSink sink;
        RulesFileAccess rules(sink);
        rules.SetRulesPath(path);
        morvane::EditHistory history;
        for (int apply = 0; apply < 1000; ++apply) {
            if (rules.WriteValue("General", "CrateMinimum", std::to_string(apply)) != 0) {
                state.SkipWithError("an Apply failed");
                return;
            }
            history.Record({"Apply CrateMinimum", rules.TakeWritten(), {}});
        }
        bytes = history.MemoryBytes();
        steps = history.StepCount();
    }
    std::filesystem::remove(path);
    state.counters["history_KiB"] = static_cast<double>(bytes) / 1024.0;
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}

BENCHMARK(BM_BuildTree)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_BuildTreeBaseline)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_WriteOneValue)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FloorWrite)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CliSetProcess)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FloorWriterProcess)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_WriteLocked)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_WriteUnlocked)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseNoteLines)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseCommentLines)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_MatchAllOneWritePerSibling)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_MatchAllOneBatch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_HistoryOf1000Applies)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
