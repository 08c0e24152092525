// The open file against a reference (the stock values or another rules file): the tree's marks
// and find toggle, the editor's "Take the reference value", the Differences panel, and the
// changes exported as a small rules file.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTreeView>

#include "app/CMainDlg.h"
#include "app/EditorPanel.h"
#include "app/FileSession.h"
#include "app/FindingMarks.h"
#include "app/MenuCommands.h"
#include "app/ProblemsPanel.h"
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

void CMainDlg::BuildCompare() {
    m_reference = new ReferenceCompare(m_catalogue, *m_findings, m_session->Rules(), this);
    // Every check of the file (after a write, an undo, another program's change) compares again.
    connect(m_findings, &FindingMarks::Refreshed, m_reference, &ReferenceCompare::Refresh);

    m_referenceRow = new ReferenceRow(*m_reference, m_panel);
    m_panel->AddBelowGameReads(m_referenceRow);
    connect(m_referenceRow, &ReferenceRow::TakeRequested, this, &CMainDlg::OnTakeReferenceValue);
    connect(m_panel, &EditorPanel::Shown, m_referenceRow, [this] { m_referenceRow->Show(m_editor->m_hCurItem); });

    m_differences = new DifferencesDock(*m_reference, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_differences);
    tabifyDockWidget(m_problems, m_differences);
    m_problems->raise();
    m_differences->hide();
    QAction* toggle = m_differences->toggleViewAction();
    toggle->setText(QStringLiteral("&Differences"));
    m_viewMenu->addAction(toggle);
    // It shares its place with the Problems panel: asking for it brings its tab to the front.
    connect(toggle, &QAction::triggered, m_differences, [this](bool shown) {
        if (shown) m_differences->raise();
    });
    connect(m_differences, &DifferencesDock::ItemChosen, this, [this](TreeItem item) { SelectItem(item); });

    m_finder->SetReference(m_reference->Name(), [this](TreeItem item) { return m_reference->MarkText(item); });
    m_commands.at(command::kCompareWithStock)->setEnabled(false);
    connect(m_reference, &ReferenceCompare::Refreshed, this, [this] {
        m_differences->Fill();
        m_referenceRow->Show(m_editor->m_hCurItem);
        m_treeView->viewport()->update();
        m_finder->Refilter();
    });
}

void CMainDlg::OnCompareWith() {
    const QString chosen = m_prompts.ChooseOpenFile(this, QStringLiteral("Compare With"),
                                                    QFileInfo(PathToQt(m_paths.rulesPath)).absolutePath(), kFilter);
    if (chosen.isEmpty()) return;
    std::string error;
    if (!m_reference->UseFile(PathFromQt(chosen), error)) {
        m_prompts.ShowMessage(this, PathToQt(error), QStringLiteral("Compare With"), QMessageBox::Warning);
        return;
    }
    m_finder->SetReference(m_reference->Name(), [this](TreeItem item) { return m_reference->MarkText(item); });
    m_commands.at(command::kCompareWithStock)->setEnabled(true);
    m_differences->show();
    m_differences->raise();
    ShowStatus(QStringLiteral("Compared with %1: %2 keys play differently.")
                   .arg(PathToQt(m_reference->FilePath()))
                   .arg(m_reference->Differences().size()));
}

void CMainDlg::OnCompareWithStock() {
    m_reference->UseStockValues();
    m_finder->SetReference(m_reference->Name(), [this](TreeItem item) { return m_reference->MarkText(item); });
    m_commands.at(command::kCompareWithStock)->setEnabled(false);
    ShowStatus(QStringLiteral("Compared with the stock values: %1 keys play differently.")
                   .arg(m_reference->Differences().size()));
}

void CMainDlg::OnTakeReferenceValue() {
    const TreeItem item = m_editor->m_hCurItem;
    const compare::KeyDifference* difference = m_reference->DifferenceAt(item);
    if (difference == nullptr || !difference->aText || m_reference->ItemOf(*difference) != item) return;
    const platform::ProfileWrite write{difference->section, difference->key, *difference->aText};
    const QString name = m_reference->Name();
    if (!WriteTableValues("Take Reference Value " + write.key, {write})) return;
    // The controls show the value taken, even over an edit that was not applied.
    m_editor->OnSelchangedTree(item);
    ShowStatus(
        QStringLiteral("[%1] %2 takes %3 from %4.").arg(ToQt(write.section), ToQt(write.key), ToQt(write.value), name));
}

void CMainDlg::OnExportChanges() {
    const QString caption = QStringLiteral("Export Changes");
    const QString folder = QFileInfo(PathToQt(m_paths.rulesPath)).absolutePath();
    const QString chosen = m_prompts.ChooseSaveFile(this, caption, folder + QStringLiteral("/changes.ini"), kFilter);
    if (chosen.isEmpty()) return;
    const std::string path =
        PathFromQt(QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".ini") : chosen);
    // The changes are read on top of the reference: neither file may be replaced by them.
    if (platform::IsSameFile(path, m_paths.rulesPath) ||
        (!m_reference->IsStock() && platform::IsSameFile(path, m_reference->FilePath()))) {
        m_prompts.ShowMessage(
            this, QStringLiteral("The changes are not written over %1: choose another file.").arg(PathToQt(path)),
            caption, QMessageBox::Warning);
        return;
    }
    const auto delta = m_reference->Delta();
    if (!delta) {
        m_prompts.ShowMessage(this, PathToQt(platform::DescribeReadFailure(0, m_paths.rulesPath)), caption,
                              QMessageBox::Warning);
        return;
    }
    if (const int error = platform::ReplaceFileAtomically(path, delta->text); error != 0) {
        m_prompts.ShowMessage(this, PathToQt(platform::DescribeFileError(error, path)), caption, QMessageBox::Warning);
        return;
    }
    ShowStatus(QStringLiteral("The changes from %1 are in %2.").arg(m_reference->Name(), PathToQt(path)));
    if (!delta->notCarried.empty()) {
        QStringList keys;
        for (const std::string& key : delta->notCarried) keys << ToQt(key);
        m_prompts.ShowMessage(this,
                              QStringLiteral("%1 holds the other changes, but no value written in a file brings "
                                             "these back to what this file plays (the game's own value, or "
                                             "duplicates that leave the game a choice):\n%2")
                                  .arg(PathToQt(path), keys.join(QLatin1Char('\n'))),
                              caption, QMessageBox::Warning);
    }
}

}  // namespace morvane::app
