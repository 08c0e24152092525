// What one keystroke in the find field costs over the whole navigation tree (about 5,700
// items): the filter run, the proxy model's update, the view expanding what is kept, and the
// repaint that follows. Each iteration types one more letter of a word after the field already
// holds the letters before it; the argument is the length of the text after the keystroke.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QLineEdit>
#include <QToolButton>

#include "WindowBench.h"
#include "app/CMainDlg.h"
#include "app/TreeFinder.h"
#include "schema/CatalogueFile.h"
#include "schema/DefaultRulesFile.h"

namespace {

const QString kWord = QStringLiteral("cratemaximum");

struct BenchWindow {
    morvane::bench::WindowBench& bench;
    morvane::app::CMainDlg& window = bench.window;
    QLineEdit& Field() { return *window.Finder()->FilterEdit(); }
};

// One window for every benchmark: building it costs far more than a keystroke.
BenchWindow Window() {
    return {morvane::bench::KeptWindow("filter",
                                       [] { return morvane::MakeDefaultRulesFile(morvane::BuiltInCatalogue()); })};
}

void TypeLetter(QLineEdit& field, const QString& text) {
    field.setText(text);
    QApplication::processEvents();
}

void BM_FilterKeystroke(benchmark::State& state) {
    BenchWindow window = Window();
    const auto length = static_cast<qsizetype>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TypeLetter(window.Field(), kWord.left(length - 1));
        state.ResumeTiming();
        TypeLetter(window.Field(), kWord.left(length));
    }
    window.Field().clear();
    QApplication::processEvents();
}
BENCHMARK(BM_FilterKeystroke)->DenseRange(1, 4)->Arg(12)->Unit(benchmark::kMillisecond);

// Escape after a one-letter filter: everything comes back, collapsed to the selection.
void BM_FilterClear(benchmark::State& state) {
    BenchWindow window = Window();
    for (auto _ : state) {
        state.PauseTiming();
        TypeLetter(window.Field(), QStringLiteral("c"));
        state.ResumeTiming();
        window.window.Finder()->ClearFilter();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FilterClear)->Unit(benchmark::kMillisecond);

// The "changed from the default" toggle on the whole tree.
void BM_FilterChangedToggle(benchmark::State& state) {
    BenchWindow window = Window();
    QToolButton& toggle = *window.window.Finder()->ChangedToggle();
    for (auto _ : state) {
        toggle.setChecked(true);
        QApplication::processEvents();
        state.PauseTiming();
        toggle.setChecked(false);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FilterChangedToggle)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    morvane::bench::CloseWindowBenches();
    return 0;
}
