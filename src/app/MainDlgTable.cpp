// The table of objects beside the tree: its dock, and its writes through the window's bracket
// and history, so that an edit in a cell is one undoable step like an Apply.
#include <QMenu>
#include <QMenuBar>

#include "app/BalanceDock.h"
#include "app/CMainDlg.h"
#include "app/FileSession.h"
#include "tree/TreeBuilder.h"

namespace morvane::app {

void CMainDlg::BuildTable() {
    m_balance = new BalanceDock(
        m_catalogue, m_prompts, [this] { return m_session->Path(); },
        [this](const std::string& description, const std::vector<platform::ProfileWrite>& writes) {
            return WriteTableValues(description, writes);
        },
        this);
    addDockWidget(Qt::RightDockWidgetArea, m_balance);
    m_balance->hide();
    QMenu* view = nullptr;
    for (QAction* action : menuBar()->actions())
        if (action->menu() != nullptr && action->text() == QStringLiteral("&View")) view = action->menu();
    if (view == nullptr) view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* toggle = m_balance->toggleViewAction();
    toggle->setText(QStringLiteral("&Table"));
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    view->addAction(toggle);
    // Undo, redo and another program's change move the file under the table: show it again.
    const auto refresh = [this] {
        if (m_balance->isVisible()) m_balance->Refresh();
    };
    connect(m_session, &FileSession::HistoryChanged, m_balance, refresh);
    connect(m_session, &FileSession::ReloadNeeded, m_balance, refresh, Qt::QueuedConnection);
}

bool CMainDlg::WriteTableValues(const std::string& description, const std::vector<platform::ProfileWrite>& writes) {
    if (writes.empty() || !m_session->PrepareWrite()) return false;
    bool written = false;
    RecordWrite(description, [&] {
        if (m_session->Rules().WriteValues(writes) != 0) return false;
        written = true;
        // The tree shows the new values too: its values are read again, in place.
        Tree fresh;
        TreeBuilder(fresh, m_catalogue, m_session->Rules()).BuildTree();
        if (fresh.ItemCount() == m_tree.ItemCount()) {
            for (TreeItem item = 1; item <= fresh.ItemCount(); ++item)
                if (fresh.GetItemValue(item) != m_tree.GetItemValue(item))
                    m_tree.SetItemValue(item, fresh.GetItemValue(item));
        }
        return true;
    });
    m_session->FileWritten();
    const TreeItem current = m_editor->m_hCurItem;
    if (written && current != kNoItem && !m_editor->HasPendingEdit()) m_editor->OnSelchangedTree(current);
    return written;
}

}  // namespace morvane::app
