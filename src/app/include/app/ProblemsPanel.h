#pragma once

#include <QWidget>

#include "app/FindingMarks.h"

class QLabel;
class QTreeWidget;

namespace morvane::app {

// Lists every finding of the check, one row each (line, level, section and key, message), under
// a count of errors, warnings and notes. A click on a row chooses the finding's tree item.
class ProblemsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProblemsPanel(const FindingMarks& marks, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_list; }
    QLabel* Summary() const { return m_summary; }

signals:
    void ItemChosen(TreeItem item);

private:
    void Fill();

    const FindingMarks& m_marks;
    QLabel* m_summary = nullptr;
    QTreeWidget* m_list = nullptr;
};

}  // namespace morvane::app
