// The check's findings in the window: markers and tooltips on the tree, the Problems panel under
// it, and the value editor's "game reads" line beneath the default.
#include <QAbstractProxyModel>
#include <QBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QTreeView>

#include "app/CMainDlg.h"
#include "app/FindingMarkDelegate.h"
#include "app/FindingMarks.h"
#include "app/ProblemsPanel.h"
#include "app/RulesTreeModel.h"
#include "app/TreeFinder.h"
#include "guicommon/Latin1.h"

namespace morvane::app {
namespace {

// The layout of `parent` that holds `widget` directly, and its place in it.
std::pair<QBoxLayout*, int> PlaceOf(QLayout* parent, QWidget* widget) {
    if (parent == nullptr) return {nullptr, -1};
    for (int i = 0; i < parent->count(); ++i) {
        QLayout* inner = parent->itemAt(i)->layout();
        if (inner != nullptr && inner->indexOf(widget) >= 0) return {qobject_cast<QBoxLayout*>(parent), i};
        if (inner != nullptr) {
            const auto deeper = PlaceOf(inner, widget);
            if (deeper.first != nullptr) return deeper;
        }
    }
    return {nullptr, -1};
}

}  // namespace

void CMainDlg::BuildFindingsView() {
    m_findings = new FindingMarks(m_tree, m_items, m_rules, this);
    connect(m_model, &QAbstractItemModel::dataChanged, m_findings, &FindingMarks::LabelChanged);
    connect(m_model, &QAbstractItemModel::modelReset, m_findings, &FindingMarks::TreeRebuilt);

    // The view may show the tree through proxies (a filter, say): the marks belong to the items.
    const auto itemOf = [this](QModelIndex index) {
        while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(index.model()))
            index = proxy->mapToSource(index);
        return index.model() == m_model ? m_model->ItemOf(index) : kNoItem;
    };
    m_treeView->setItemDelegate(new FindingMarkDelegate(*m_findings, itemOf, m_treeView));
    // The find bar's "has a problem" toggle keeps the items that carry a finding.
    m_finder->SetProblemTest([this](TreeItem item) { return !m_findings->MarkText(item).isEmpty(); });

    // The Problems panel goes under the tree and the editor, across the window's width, where
    // its messages have room.
    // The tree sits in the find bar's widget, which sits in the splitter beside the editor.
    QWidget* sideBySide = m_treeView->parentWidget();
    while (sideBySide != nullptr && qobject_cast<QSplitter*>(sideBySide) == nullptr)
        sideBySide = sideBySide->parentWidget();
    QWidget* holder = sideBySide == nullptr ? nullptr : sideBySide->parentWidget();
    if (holder != nullptr && holder->layout() != nullptr) {
        auto* column = new QSplitter(Qt::Vertical, holder);
        column->setChildrenCollapsible(false);
        delete holder->layout()->replaceWidget(sideBySide, column);
        column->addWidget(sideBySide);
        m_problems = new ProblemsPanel(*m_findings, column);
        column->addWidget(m_problems);
        column->setStretchFactor(0, 4);
        column->setStretchFactor(1, 1);
        connect(m_problems, &ProblemsPanel::ItemChosen, this, [this](TreeItem item) { SelectItem(item); });
    }

    // What the game makes of the shown key, beneath the default.
    m_gameReadsText = new QLabel(m_defaultText->parentWidget());
    m_gameReadsText->setObjectName(QStringLiteral("gameReads"));
    m_gameReadsText->setWordWrap(true);
    m_gameReadsText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const auto [layout, place] = PlaceOf(m_defaultText->parentWidget()->layout(), m_defaultText);
    if (layout != nullptr) layout->insertWidget(place + 1, m_gameReadsText);

    connect(m_findings, &FindingMarks::Refreshed, this, [this] {
        m_treeView->viewport()->update();
        m_finder->Refilter();
        // A write changes what the game reads: the line follows the file.
        m_gameReadsText->setText(ToQt(m_editor->m_strGameReads));
    });
}

}  // namespace morvane::app
