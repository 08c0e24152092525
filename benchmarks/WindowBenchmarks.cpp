// Painting the navigation tree with a key whose value is 1 MB: the tree model's labels (cut
// short) against the same row showing the whole label, as the view did before.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QStandardItemModel>
#include <QTreeView>
#include <string>

#include "app/RulesTreeModel.h"
#include "tree/Tree.h"

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

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
