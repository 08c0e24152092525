#include "app/CompareCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QTreeView>

#include "app/EditorPanel.h"
#include "app/FindingMarks.h"
#include "app/ReferenceCompare.h"
#include "app/TreeFinder.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"

using morvane::guicommon::PathFromQt;
using morvane::guicommon::PathToQt;
using morvane::guicommon::ToQt;

namespace morvane::app {
namespace {

const QString kFilter = QStringLiteral("Rules Files (*.ini *.INI);;All Files (*)");

}  // namespace

CompareCommands::CompareCommands(const StringTable& catalogue, FindingMarks& marks, const RulesFileAccess& rules,
                                 guicommon::UserPrompts& prompts, TreeFinder& finder, QTreeView& treeView,
                                 EditorPanel& panel, Window window, Actions actions)
    : QObject(window.widget),
      m_prompts(prompts),
      m_finder(finder),
      m_treeView(treeView),
      m_window(std::move(window)),
      m_actions(actions) {
    m_reference = new ReferenceCompare(catalogue, marks, rules, this);
    // Every check of the file (after a write, an undo, another program's change) compares again.
    connect(&marks, &FindingMarks::Refreshed, m_reference, &ReferenceCompare::Refresh);

    m_row = new ReferenceRow(*m_reference, &panel);
    panel.AddBelowGameReads(m_row);
    connect(m_row, &ReferenceRow::TakeRequested, this, &CompareCommands::OnTakeReferenceValue);
    connect(&panel, &EditorPanel::Shown, m_row, [this] { m_row->Show(m_window.shownItem()); });

    m_differences = new DifferencesDock(*m_reference, m_window.widget);
    connect(m_differences, &DifferencesDock::ItemChosen, this, [this](TreeItem item) { m_window.selectItem(item); });

    connect(m_actions.compareWith, &QAction::triggered, this, &CompareCommands::OnCompareWith);
    connect(m_actions.compareWithStock, &QAction::triggered, this, &CompareCommands::OnCompareWithStock);
    connect(m_actions.exportChanges, &QAction::triggered, this, &CompareCommands::OnExportChanges);
    FollowReference();
    connect(m_reference, &ReferenceCompare::Refreshed, this, [this, findings = &marks] {
        m_differences->Fill();
        m_row->Show(m_window.shownItem());
        // A key that differs from the reference is shown in italics: only the rows that gained
        // or lost a difference are painted again (all of them when the tree was built anew).
        if (findings->AllMarksChanged()) {
            m_treeView.viewport()->update();
        } else {
            for (const TreeItem item : m_reference->ChangedItems()) m_treeView.update(m_finder.ViewIndexOf(item));
        }
        m_finder.Refilter();
    });
}

void CompareCommands::FollowReference() {
    m_finder.SetReference(m_reference->Name(), [this](TreeItem item) { return m_reference->MarkText(item); });
    m_actions.compareWithStock->setEnabled(!m_reference->IsStock());
}

void CompareCommands::OnCompareWith() {
    const QString chosen = m_prompts.ChooseOpenFile(m_window.widget, QStringLiteral("Compare With"),
                                                    QFileInfo(PathToQt(m_window.openPath())).absolutePath(), kFilter);
    if (chosen.isEmpty()) return;
    std::string error;
    if (!m_reference->UseFile(PathFromQt(chosen), error)) {
        m_prompts.ShowMessage(m_window.widget, PathToQt(error), QStringLiteral("Compare With"), QMessageBox::Warning);
        return;
    }
    FollowReference();
    m_differences->show();
    m_differences->raise();
    m_window.showStatus(QStringLiteral("Compared with %1: %2 keys play differently.")
                            .arg(PathToQt(m_reference->FilePath()))
                            .arg(m_reference->Differences().size()));
}

void CompareCommands::OnCompareWithStock() {
    m_reference->UseStockValues();
    FollowReference();
    m_window.showStatus(QStringLiteral("Compared with the stock values: %1 keys play differently.")
                            .arg(m_reference->Differences().size()));
}

void CompareCommands::OnTakeReferenceValue() {
    const TreeItem item = m_window.shownItem();
    const compare::KeyDifference* difference = m_reference->DifferenceAt(item);
    if (difference == nullptr || !difference->aText || m_reference->ItemOf(*difference) != item) return;
    const platform::ProfileWrite write{difference->section, difference->key, *difference->aText};
    const QString name = m_reference->Name();
    if (!m_window.writeValues("Take Reference Value " + write.key, {write})) return;
    // The controls show the value taken, even over an edit that was not applied.
    m_window.showItem(item);
    m_window.showStatus(
        QStringLiteral("[%1] %2 takes %3 from %4.").arg(ToQt(write.section), ToQt(write.key), ToQt(write.value), name));
}

void CompareCommands::OnExportChanges() {
    const QString caption = QStringLiteral("Export Changes");
    const std::string open = m_window.openPath();
    const QString folder = QFileInfo(PathToQt(open)).absolutePath();
    const QString chosen =
        m_prompts.ChooseSaveFile(m_window.widget, caption, folder + QStringLiteral("/changes.ini"), kFilter);
    if (chosen.isEmpty()) return;
    const std::string path =
        PathFromQt(QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".ini") : chosen);
    // The changes are read on top of the reference: neither file may be replaced by them.
    if (platform::IsSameFile(path, open) ||
        (!m_reference->IsStock() && platform::IsSameFile(path, m_reference->FilePath()))) {
        m_prompts.ShowMessage(
            m_window.widget,
            QStringLiteral("The changes are not written over %1: choose another file.").arg(PathToQt(path)), caption,
            QMessageBox::Warning);
        return;
    }
    const auto delta = m_reference->Delta();
    if (!delta) {
        m_prompts.ShowMessage(m_window.widget, PathToQt(platform::DescribeReadFailure(0, open)), caption,
                              QMessageBox::Warning);
        return;
    }
    if (const int error = platform::ReplaceFileAtomically(path, delta->text); error != 0) {
        m_prompts.ShowMessage(m_window.widget, PathToQt(platform::DescribeFileError(error, path)), caption,
                              QMessageBox::Warning);
        return;
    }
    m_window.showStatus(QStringLiteral("The changes from %1 are in %2.").arg(m_reference->Name(), PathToQt(path)));
    if (!delta->notCarried.empty()) {
        QStringList keys;
        for (const std::string& key : delta->notCarried) keys << ToQt(key);
        m_prompts.ShowMessage(m_window.widget,
                              QStringLiteral("%1 holds the other changes, but no value written in a file brings "
                                             "these back to what this file plays (the game's own value, or "
                                             "duplicates that leave the game a choice):\n%2")
                                  .arg(PathToQt(path), keys.join(QLatin1Char('\n'))),
                              caption, QMessageBox::Warning);
    }
}

}  // namespace morvane::app
