#pragma once

#include <QDialog>

#include "editor/MatchAllPlan.h"

class QTreeWidget;
class QPushButton;

namespace morvane::app {

// Lists what a Match All would write, section by section with the old and the new value, and
// asks before anything is written.
class MatchAllConfirmDlg : public QDialog {
    Q_OBJECT
public:
    // `tree` gives the name of each section's item.
    MatchAllConfirmDlg(const MatchAllPlan& plan, const std::string& shownSection, const Tree& tree,
                       QWidget* parent = nullptr);

    QTreeWidget* Changes() const { return m_changes; }
    QPushButton* WriteButton() const { return m_write; }

private:
    QTreeWidget* m_changes = nullptr;
    QPushButton* m_write = nullptr;
};

}  // namespace morvane::app
