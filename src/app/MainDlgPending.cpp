// The value editor's keyboard and its unapplied edits: Enter in a value field applies, Up and
// Down step a number, a changed value is marked as pending, and leaving it asks first.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include "app/CMainDlg.h"
#include "app/RulesTreeModel.h"
#include "editor/ControlIds.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "rulesfile/ValueLabel.h"

namespace morvane::app {
namespace {

// Up and Down (and Page Up and Down, ten at a time) in a number's edit step it as its spin does,
// while the edit still takes any typed text.
class StepKeys : public QObject {
public:
    StepKeys(QLineEdit* edit, std::function<bool()> enabled, std::function<void(int)> step)
        : QObject(edit), m_enabled(std::move(enabled)), m_step(std::move(step)) {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !m_enabled()) return QObject::eventFilter(watched, event);
        int delta = 0;
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
                delta = 1;
                break;
            case Qt::Key_Down:
                delta = -1;
                break;
            case Qt::Key_PageUp:
                delta = 10;
                break;
            case Qt::Key_PageDown:
                delta = -10;
                break;
            default:
                return QObject::eventFilter(watched, event);
        }
        m_step(delta);
        return true;
    }

private:
    std::function<bool()> m_enabled;
    std::function<void(int)> m_step;
};

}  // namespace

void CMainDlg::WatchValueFields() {
    m_pendingLabel = new QLabel(QStringLiteral("Edit not applied"), this);
    m_pendingLabel->setToolTip(
        QStringLiteral("The controls hold a value that is not in the file yet: Apply writes it."));
    m_pendingLabel->hide();
    statusBar()->addPermanentWidget(m_pendingLabel);

    // Enter in a field that holds a value applies it; the window stays open.
    const auto applyIfOffered = [this] {
        if (m_applyButton->isEnabled()) OnApply();
    };
    for (QLineEdit* edit :
         {m_valueEdit, m_chanceEdit, m_optionEdit, m_listCombo->lineEdit(), m_animationCombo->lineEdit()})
        connect(edit, &QLineEdit::returnPressed, this, applyIfOffered);

    new StepKeys(
        m_valueEdit, [this] { return m_editor->IsVisible(control::kValueSpin); },
        [this](int delta) {
            m_editor->StepSpin(control::kValueSpin, delta);
            SchedulePendingRefresh();
        });
    new StepKeys(
        m_chanceEdit, [this] { return m_editor->IsVisible(control::kChanceSpin); },
        [this](int delta) {
            m_editor->StepSpin(control::kChanceSpin, delta);
            SchedulePendingRefresh();
        });

    // Any change of a value control may start or end a pending edit; the check runs once the
    // change is complete.
    for (QLineEdit* edit : {m_valueEdit, m_chanceEdit, m_optionEdit})
        connect(edit, &QLineEdit::textChanged, this, &CMainDlg::SchedulePendingRefresh);
    for (QComboBox* combo : {m_listCombo, m_animationCombo})
        connect(combo, &QComboBox::currentTextChanged, this, &CMainDlg::SchedulePendingRefresh);
    connect(m_checkBox, &QCheckBox::toggled, this, &CMainDlg::SchedulePendingRefresh);
    connect(m_multiList, &QListWidget::itemSelectionChanged, this, &CMainDlg::SchedulePendingRefresh);
    connect(m_percentSlider, &QSlider::valueChanged, this, &CMainDlg::SchedulePendingRefresh);
    for (QSlider* slider : m_versesSliders)
        connect(slider, &QSlider::valueChanged, this, &CMainDlg::SchedulePendingRefresh);
}

void CMainDlg::SchedulePendingRefresh() {
    if (m_pendingRefreshQueued) return;
    m_pendingRefreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_pendingRefreshQueued = false;
        RefreshPending();
    });
}

void CMainDlg::RefreshPending() {
    const bool pending = m_editor->m_hCurItem != kNoItem && m_editor->HasPendingEdit();
    m_pendingLabel->setVisible(pending);
    QFont font = m_applyButton->font();
    font.setBold(pending);
    m_applyButton->setFont(font);
}

bool CMainDlg::ShowsPendingEdit() const { return m_pendingLabel->isVisibleTo(this); }

void CMainDlg::OnTreeCurrentChanged(const QModelIndex& current, const QModelIndex& /*previous*/) {
    if (m_revertingSelection || !current.isValid()) return;
    const TreeItem item = m_model->ItemOf(current);
    if (item != m_editor->m_hCurItem && m_editor->m_hCurItem != kNoItem && m_editor->HasPendingEdit()) {
        const std::string key = KeyOfLabel(m_tree.GetItemText(m_editor->m_hCurItem));
        const auto answer = m_prompts.AskLabelled(this, ToQt("The value of " + key + " was changed but not applied."),
                                                  QStringLiteral("Morvane"),
                                                  QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, {});
        if (answer == QMessageBox::Apply) OnApply();
        // Cancel, or an Apply whose write failed: stay on the edited key.
        const bool stay = answer == QMessageBox::Apply ? m_editor->HasPendingEdit() : answer != QMessageBox::Discard;
        if (stay) {
            // Stay on the edited key, its edit intact.
            m_revertingSelection = true;
            m_treeView->setCurrentIndex(m_model->IndexOf(m_editor->m_hCurItem));
            m_revertingSelection = false;
            return;
        }
    }
    OnSelchangedTree(item);
    RefreshPending();
}

}  // namespace morvane::app
