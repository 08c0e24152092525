#pragma once

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QIcon>

#include "app/FindingMarks.h"

#include <vector>

class QLabel;
class QTreeView;

namespace morvane::app {

// The check's findings as a table: line, level, section and key, and what the game does. It
// reads FindingMarks' list in place (no copy) through its own sort order, which it keeps over a
// new check (a reset); the three level icons are made once.
class ProblemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kLine, kLevel, kWhere, kMessage, kColumns };
    // The tree item of a row's finding (kNoItem when the tree has none).
    static constexpr int kItemRole = Qt::UserRole + 1;

    explicit ProblemsModel(const FindingMarks& marks, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Sorts the rows by a column (the line as a number, the level by severity, the rest as
    // text); rows that compare equal keep the check's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    static QIcon LevelIcon(gameview::Level level);

private:
    void MakeOrder();
    const MarkedFinding& At(int row) const;

    const FindingMarks& m_marks;
    std::vector<std::size_t> m_order;  // row -> index in m_marks.Findings()
    int m_sortColumn = kLine;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

// The Problems panel: a dock under the tree and the editor with a count of errors, warnings and
// notes above the sortable table of findings. A click (or Enter) on a row chooses the finding's
// tree item. For a newly opened file it starts at the top; after a write it stays where it was.
class ProblemsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ProblemsPanel(const FindingMarks& marks, QWidget* parent = nullptr);

    QTreeView* List() const { return m_list; }
    QLabel* Summary() const { return m_summary; }
    // The table's rows as the view shows them (sorted), for tests and tools: "LINE LEVEL WHERE".
    QStringList ShownRows() const;
    // The tree was built anew (another file): the list starts at its top at the next check.
    void StartAtTop() { m_startAtTop = true; }

signals:
    void ItemChosen(TreeItem item);

private:
    void Fill();
    void Choose(const QModelIndex& index);

    const FindingMarks& m_marks;
    ProblemsModel* m_model = nullptr;
    QLabel* m_summary = nullptr;
    QTreeView* m_list = nullptr;
    bool m_startAtTop = true;
    int m_scrolled = 0;
};

}  // namespace morvane::app
