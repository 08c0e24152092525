// The window's costs: painting the navigation tree with a key whose value is 1 MB (the tree
// model's labels, cut short, against the same row showing the whole label); the start-up of the
// program to its painted tree against an empty dialog of the same size; an Apply with about
// 2,000 findings, on a 15 MB file, and what the window holds in memory for such files.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTreeView>
#include <fstream>
#include <sstream>
#include <string>

#include "ProcessRun.h"
#include "WindowBench.h"
#include "app/FindingMarks.h"
#include "app/RulesTreeModel.h"
#include "editor/ControlIds.h"
#include "platform/FileAccess.h"
#include "schema/DefaultRulesFile.h"
#include "tree/Tree.h"
#include "tree/TreePath.h"

namespace {

const std::string& LongLabel() {
    static const std::string label = "Name = " + std::string(1 << 20, 'x');
    return label;
}

void Paint(benchmark::State& state, QAbstractItemModel& model) {
    QTreeView view;
    view.setModel(&model);
    view.setUniformRowHeights(true);
    view.resize(400, 300);
    QImage image(view.size(), QImage::Format_ARGB32);
    for (auto _ : state) {
        view.viewport()->update();
        view.render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}

void BM_PaintLongValueRow(benchmark::State& state) {
    morvane::Tree tree;
    tree.InsertItem(LongLabel(), 0, 0, {});
    tree.InsertItem("Cost = 100", 0, 0, {});
    morvane::app::RulesTreeModel model(tree);
    Paint(state, model);
}
BENCHMARK(BM_PaintLongValueRow)->Unit(benchmark::kMillisecond);

void BM_PaintLongValueRowWhole(benchmark::State& state) {
    QStandardItemModel model;
    model.appendRow(
        new QStandardItem(QString::fromLatin1(LongLabel().data(), static_cast<qsizetype>(LongLabel().size()))));
    model.appendRow(new QStandardItem(QStringLiteral("Cost = 100")));
    Paint(state, model);
}
BENCHMARK(BM_PaintLongValueRowWhole)->Unit(benchmark::kMillisecond);

std::string DefaultFile() { return morvane::MakeDefaultRulesFile(morvane::BuiltInCatalogue()); }

// The default file with eight keys the game does not know after every section header: about
// 2,000 findings spread over the whole tree.
std::string ManyFindingsFile() {
    std::istringstream lines(DefaultFile());
    std::string out;
    std::string line;
    int added = 0;
    while (std::getline(lines, line)) {
        out += line + "\n";
        if (line.rfind('[', 0) == 0)
            for (int i = 0; i < 8; ++i) out += "NotAKey" + std::to_string(++added) + "=1\r\n";
    }
    return out;
}

// The default file followed by note lines up to `megabytes` MB.
std::string LargeFile(std::size_t megabytes) {
    std::string out = DefaultFile();
    const std::string note = "; a modder's note kept in the rules file, as long as many of them are ...\r\n";
    while (out.size() < megabytes * 1000 * 1000) out += note;
    return out;
}

// One Apply of CrateMinimum as a user makes it: the value typed, Apply, and the events that
// follow (the check of the written file and the refresh of its findings) handled.
bool ApplyOnce(morvane::bench::WindowBench& bench, const QString& value) {
    auto* edit = qobject_cast<QLineEdit*>(bench.window.Control(morvane::control::kValueEdit));
    if (edit == nullptr) return false;
    edit->setText(value);
    bench.window.OnApply();
    QApplication::processEvents();
    return true;
}

void ApplyBenchmark(benchmark::State& state, morvane::bench::WindowBench& bench) {
    const morvane::TreeItem item =
        morvane::FindItemByPath(bench.window.NavigationTree(), "General\\Crates\\CrateMinimum");
    if (item == morvane::kNoItem) {
        state.SkipWithError("no CrateMinimum in the tree");
        return;
    }
    bench.window.SelectItem(item);
    QApplication::processEvents();
    const QString values[] = {QStringLiteral("4321"), QStringLiteral("765")};
    std::size_t turn = 0;
    for (auto _ : state) {
        if (!ApplyOnce(bench, values[turn++ % 2])) {
            state.SkipWithError("no value field");
            return;
        }
    }
    const std::string written = morvane::platform::ReadFileBytes(bench.rules).value_or("");
    if (written.find("CrateMinimum=" + values[(turn + 1) % 2].toStdString()) == std::string::npos)
        state.SkipWithError("the Apply did not write the value");
    state.counters["findings"] = static_cast<double>(bench.window.Findings().Findings().size());
    state.counters["file_MB"] = static_cast<double>(written.size()) / 1e6;
}

void BM_ApplyManyFindings(benchmark::State& state) {
    ApplyBenchmark(state, morvane::bench::KeptWindow("findings", ManyFindingsFile));
}
BENCHMARK(BM_ApplyManyFindings)->Unit(benchmark::kMillisecond);

void BM_ApplyLargeFile(benchmark::State& state) {
    morvane::bench::WindowBench& bench = morvane::bench::KeptWindow("large", [] { return LargeFile(15); });
    state.counters["window_MiB"] = bench.heldMiB;
    ApplyBenchmark(state, bench);
}
BENCHMARK(BM_ApplyLargeFile)->Unit(benchmark::kMillisecond)->Iterations(5);

// What each Apply adds to the memory of a window on a 6 MB file (with its undo history).
void BM_HistoryGrowth(benchmark::State& state) {
    morvane::bench::WindowBench& bench = morvane::bench::KeptWindow("history", [] { return LargeFile(6); });
    ApplyOnce(bench, QStringLiteral("1"));
    const double before = morvane::bench::HeldMiB();
    ApplyBenchmark(state, bench);
    state.counters["MiB_per_apply"] = (morvane::bench::HeldMiB() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_HistoryGrowth)->Unit(benchmark::kMillisecond)->Iterations(20);

// The program from its start to the window with the tree painted, against an empty dialog of
// the window's size shown the same way. Both offscreen, with settings in a fresh folder.
struct StartupFiles {
    StartupFiles() {
        morvane::bench::UseTemporarySettings();
        std::ofstream(rules, std::ios::binary) << DefaultFile();
        std::ofstream(large, std::ios::binary) << LargeFile(15);
    }
    QTemporaryDir dir;
    std::string rules = (dir.path() + QStringLiteral("/rules.ini")).toStdString();
    std::string large = (dir.path() + QStringLiteral("/large.ini")).toStdString();
    std::string config = (dir.path() + QStringLiteral("/config")).toStdString();
};
StartupFiles& Startup() {
    static StartupFiles files;
    return files;
}

void RunProgram(benchmark::State& state, const std::vector<std::string>& arguments) {
    const std::vector<std::string> environment{"QT_QPA_PLATFORM=offscreen", "MORVANE_QUIT_WHEN_SHOWN=1",
                                               "XDG_CONFIG_HOME=" + Startup().config};
    long peak = 0;
    double cpu = 0;
    for (auto _ : state) {
        const morvane::bench::ProcessResult result = morvane::bench::RunProcess(arguments, environment);
        if (result.exitCode != 0) {
            state.SkipWithError((arguments[0] + " failed").c_str());
            return;
        }
        peak = std::max(peak, result.peakResidentKiB);
        cpu += result.cpuSeconds;
    }
    // The child's processor time: on a busy machine its wall time mostly measures the others.
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}

void BM_StartupProcess(benchmark::State& state) {
    RunProgram(state, {morvane::bench::ProgramFolder() + "/morvane", Startup().rules});
}
BENCHMARK(BM_StartupProcess)->Unit(benchmark::kMillisecond);

// The size the window takes on a first start.
QSize FirstWindowSize() {
    static const QSize size = [] {
        morvane::bench::UseTemporarySettings();
        morvane::bench::NoPrompts prompts;
        const morvane::app::CMainDlg window(morvane::BuiltInCatalogue(), prompts);
        return window.size();
    }();
    return size;
}

void BM_EmptyWindowProcess(benchmark::State& state) {
    RunProgram(state, {morvane::bench::ProgramFolder() + "/morvane_empty_window",
                       std::to_string(FirstWindowSize().width()), std::to_string(FirstWindowSize().height())});
}
BENCHMARK(BM_EmptyWindowProcess)->Unit(benchmark::kMillisecond);

// The whole program on the 15 MB file: its peak memory.
void BM_StartupLargeFileProcess(benchmark::State& state) {
    RunProgram(state, {morvane::bench::ProgramFolder() + "/morvane", Startup().large});
}
BENCHMARK(BM_StartupLargeFileProcess)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    morvane::bench::CloseWindowBenches();
    return 0;
}
