#include "app/MatchAllConfirmDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "guicommon/Latin1.h"

using morvane::guicommon::ToQt;

namespace morvane::app {

MatchAllConfirmDlg::MatchAllConfirmDlg(const MatchAllPlan& plan, const std::string& shownSection, const Tree& tree,
                                       QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Match All In Section"));
    auto* layout = new QVBoxLayout(this);
    const QString count = QString::number(plan.changes.size());
    const QString sections = plan.changes.size() == 1 ? QStringLiteral("section") : QStringLiteral("sections");
    auto* intro = new QLabel(ToQt("Copy " + plan.key + " = " + plan.value + " from [" + shownSection + "] into ") +
                                 count + " " + sections + QStringLiteral(":"),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_changes = new QTreeWidget(this);
    m_changes->setRootIsDecorated(false);
    m_changes->setHeaderLabels(
        {QStringLiteral("Section"), QStringLiteral("Name"), QStringLiteral("Now"), QStringLiteral("After")});
    m_changes->setSelectionMode(QAbstractItemView::NoSelection);
    for (const MatchAllChange& change : plan.changes) {
        auto* row = new QTreeWidgetItem(m_changes);
        row->setText(0, ToQt("[" + change.section + "]"));
        row->setText(1, ToQt(tree.GetItemText(tree.GetParentItem(change.item))));
        if (change.oldValue) {
            row->setText(2, ToQt(*change.oldValue));
        } else {
            row->setText(2, QStringLiteral("not in the file"));
            row->setForeground(2, palette().color(QPalette::PlaceholderText));
        }
        row->setText(3, ToQt(plan.value));
    }
    m_changes->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(m_changes, 1);
    if (plan.keyAbsent) {
        auto* warning = new QLabel(
            ToQt(plan.key + " is not in the file here: every section above gets an empty " + plan.key + "."), this);
        warning->setWordWrap(true);
        layout->addWidget(warning);
    }

    auto* buttons = new QDialogButtonBox(this);
    m_write =
        buttons->addButton(QStringLiteral("&Write ") + count + " " +
                               (plan.changes.size() == 1 ? QStringLiteral("Section") : QStringLiteral("Sections")),
                           QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_write->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_changes->setFocusPolicy(Qt::NoFocus);
    resize(480, 360);
}

}  // namespace morvane::app
