// Match All In Section in the window: greyed out where it does not fit, a confirmation that lists
// every change, then one write of all the siblings as one undoable step.
#include "app/CMainDlg.h"
#include "app/MatchAllConfirmDlg.h"
#include "editor/MatchAllPlan.h"
#include "editor/WriteSummary.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"

namespace morvane::app {

void CMainDlg::OnMatchAllInSection() {
    const TreeItem item = m_editor->m_hCurItem;
    if (const std::string refusal = MatchAllRefusal(m_tree, m_items, item); !refusal.empty()) {
        ShowStatus(ToQt(refusal));
        return;
    }
    // The value copied is the label's: read the file again first if another program changed it.
    if (!PrepareMatchAll()) return;
    const MatchAllPlan plan = PlanMatchAll(m_tree, m_items, m_editor->m_hCurItem);
    if (plan.changes.empty()) {
        EndWrite();
        ShowStatus(ToQt("Every sibling section already holds " + plan.key + "=" + plan.value));
        return;
    }
    if (plan.keyAbsent) {
        const QString count = QString::number(plan.changes.size());
        const auto answer = m_prompts.AskLabelled(
            this,
            ToQt(plan.key + " is not in the file for this section. Match All would write an empty " + plan.key +
                 " into ") +
                count + QStringLiteral(" sibling sections."),
            QStringLiteral("Morvane"), QMessageBox::Yes | QMessageBox::Cancel,
            {{QMessageBox::Yes, QStringLiteral("Empty ") + ToQt(plan.key) + QStringLiteral(" in ") + count +
                                    QStringLiteral(" Sections")}});
        if (answer != QMessageBox::Yes) {
            EndWrite();
            return;
        }
    }
    MatchAllConfirmDlg confirm(plan, m_items.SectionNameOf(m_items.FindSectionItem(item)), m_tree, this);
    if (m_prompts.Exec(confirm) != QDialog::Accepted) {
        EndWrite();
        return;
    }
    RecordWrite("Match All " + plan.key, [&] { return ApplyMatchAll(plan, m_tree, m_rules) == 0; });
    FileWritten();
    if (m_lastMessage.empty()) ShowStatus(ToQt(DescribeMatchAllWrite(plan.key, plan.value, plan.changes.size())));
}

}  // namespace morvane::app
