#include "app/TreeFinder.h"

#include <algorithm>
#include <limits>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/RulesTreeModel.h"

namespace morvane::app {
namespace {

const QString kNoProblemCheck = QStringLiteral("Keys with a problem: available once the file has been checked");
const QString kNoOverriddenCheck =
    QStringLiteral("Keys another of the game's files decides: available once the file has been checked");

QToolButton* MakeToggle(const QString& text, const QString& tip, QWidget* parent) {
    auto* toggle = new QToolButton(parent);
    toggle->setText(text);
    toggle->setToolTip(tip);
    toggle->setCheckable(true);
    toggle->setAutoRaise(true);
    return toggle;
}

}  // namespace

TreeFinder::TreeFinder(RulesTreeModel& model, const Tree& tree, const ItemFileAccess& items, const StringTable& table,
                       QTreeView* view, QWidget* parent)
    : QWidget(parent), m_view(view) {
    m_model = new TreeFilterModel(model, tree, items, table, this);
    view->setModel(m_model);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("findField"));
    m_edit->setAccessibleName(QStringLiteral("Find"));
    m_edit->setPlaceholderText(QStringLiteral("Find (Ctrl+F)"));
    m_edit->setClearButtonEnabled(true);
    m_edit->installEventFilter(this);
    m_changed =
        MakeToggle(QStringLiteral("Changed"), QStringLiteral("Only keys whose value differs from the default"), this);
    m_present = MakeToggle(QStringLiteral("In file"), QStringLiteral("Only keys the rules file holds"), this);
    m_problem = MakeToggle(QStringLiteral("Problems"), kNoProblemCheck, this);
    m_problem->setEnabled(false);
    m_overridden = MakeToggle(QStringLiteral("Overridden"), kNoOverriddenCheck, this);
    m_overridden->setEnabled(false);
    m_differs = MakeToggle(QStringLiteral("Differs"), QString(), this);
    m_differs->setObjectName(QStringLiteral("differsToggle"));
    m_differs->setEnabled(false);

    // The field first; the toggles beside it while there is room, beneath it when there is not.
    m_toggleBox = new QWidget(this);
    m_toggleRows = new QVBoxLayout(m_toggleBox);
    m_toggleRows->setContentsMargins(0, 0, 0, 0);
    m_toggleRows->setSpacing(2);
    m_toggles = {m_changed, m_present, m_problem, m_overridden, m_differs};
    for (QToolButton* toggle : m_toggles) connect(toggle, &QToolButton::toggled, this, &TreeFinder::ApplyFilter);
    PlaceToggles(std::numeric_limits<int>::max());
    auto* bar = new QGridLayout;
    m_bar = bar;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(2);
    bar->setColumnStretch(0, 1);
    bar->addWidget(m_edit, 0, 0);
    bar->addWidget(m_toggleBox, 0, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addLayout(bar);
    column->addWidget(view, 1);

    connect(m_edit, &QLineEdit::textChanged, this, &TreeFinder::ApplyFilter);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!current.isValid()) return;
        // The item stays in view while it is edited, until the filter itself changes.
        m_model->Pin(ItemOf(current));
        // A row that the filter hid and brings back is no new choice of the user's.
        if (ItemOf(current) == m_selected) return;
        m_selected = ItemOf(current);
        emit ItemSelected(m_selected);
    });
    // A rebuilt tree (another file opened) keeps the filter in use, shown expanded.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_selected = kNoItem;
        if (m_model->Criteria().IsActive()) m_view->expandAll();
    });
    auto* find = new QShortcut(QKeySequence::Find, this, [this] { FocusField(); });
    find->setContext(Qt::WindowShortcut);
}

void TreeFinder::FocusField() {
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void TreeFinder::EnterResults() {
    m_view->setFocus(Qt::TabFocusReason);
    QModelIndex current = m_view->currentIndex();
    if (current.isValid() && m_model->rowCount(current) == 0) return;  // a key: the user's place
    // The first key the filter kept: down the first branch to its first leaf.
    current = m_model->index(0, 0);
    while (current.isValid() && m_model->rowCount(current) > 0) current = m_model->index(0, 0, current);
    if (current.isValid()) {
        m_view->setCurrentIndex(current);
        m_view->scrollTo(current);
    }
}

bool TreeFinder::eventFilter(QObject* watched, QEvent* event) {
    // Down and Enter in the field go into the results.
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
            EnterResults();
            return true;
        }
    }
    // Escape in the field belongs to the filter.
    if (watched == m_edit && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            if (event->type() == QEvent::KeyPress) {
                ClearFilter();
                m_view->setFocus(Qt::OtherFocusReason);
            }
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TreeFinder::ApplyFilter() {
    FilterCriteria criteria;
    criteria.text = m_edit->text();
    criteria.changedOnly = m_changed->isChecked();
    criteria.presentOnly = m_present->isChecked();
    criteria.problemOnly = m_problem->isChecked();
    criteria.overriddenOnly = m_overridden->isChecked();
    criteria.differsOnly = m_differs->isChecked();
    const bool wasActive = m_model->Criteria().IsActive();
    // The branches the user had open come back when the filter ends.
    if (criteria.IsActive() && !wasActive) m_openBranches = OpenBranches();
    m_model->SetCriteria(criteria);
    if (criteria.IsActive()) {
        m_view->expandAll();
    } else if (wasActive) {
        m_view->collapseAll();
        for (const TreeItem item : m_openBranches) m_view->expand(m_model->IndexOf(item));
        m_openBranches.clear();
        Reveal(m_selected);
    }
}

void TreeFinder::ClearFilter() {
    {
        const QSignalBlocker blockEdit(m_edit);
        const QSignalBlocker blockChanged(m_changed);
        const QSignalBlocker blockPresent(m_present);
        const QSignalBlocker blockProblem(m_problem);
        const QSignalBlocker blockOverridden(m_overridden);
        const QSignalBlocker blockDiffers(m_differs);
        m_edit->clear();
        for (QToolButton* toggle : {m_changed, m_present, m_problem, m_overridden, m_differs})
            toggle->setChecked(false);
    }
    ApplyFilter();
}

void TreeFinder::Reveal(TreeItem item) {
    const QModelIndex index = m_model->IndexOf(item);
    if (!index.isValid()) return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) m_view->expand(parent);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index);
}

QModelIndex TreeFinder::ViewIndexOf(TreeItem item) {
    QModelIndex index = m_model->IndexOf(item);
    if (!index.isValid() && item != kNoItem && m_model->Criteria().IsActive()) {
        ClearFilter();
        index = m_model->IndexOf(item);
    }
    return index;
}

std::vector<TreeItem> TreeFinder::OpenBranches() const {
    std::vector<TreeItem> open;
    std::vector<QModelIndex> pending{QModelIndex()};
    while (!pending.empty()) {
        const QModelIndex parent = pending.back();
        pending.pop_back();
        for (int row = 0; row < m_model->rowCount(parent); ++row) {
            const QModelIndex child = m_model->index(row, 0, parent);
            if (!m_view->isExpanded(child)) continue;
            open.push_back(m_model->ItemOf(child));
            pending.push_back(child);
        }
    }
    return open;
}

void TreeFinder::Refilter() {
    // The file changed under the same filter: the row being edited stays where it is.
    if (m_view->currentIndex().isValid()) m_model->Pin(ItemOf(m_view->currentIndex()));
    if (m_model->Criteria().IsActive()) ApplyFilter();
}

void TreeFinder::SetProblemTest(TreeFilterModel::ProblemTest test) {
    const bool fed = static_cast<bool>(test);
    m_model->SetProblemTest(std::move(test));
    {
        const QSignalBlocker block(m_problem);
        if (!fed) m_problem->setChecked(false);
    }
    m_problem->setEnabled(fed);
    m_problem->setToolTip(fed ? QStringLiteral("Only keys with a problem") : kNoProblemCheck);
    if (m_model->Criteria().IsActive()) ApplyFilter();
}

void TreeFinder::SetOverriddenTest(TreeFilterModel::ProblemTest test) {
    const bool fed = static_cast<bool>(test);
    m_model->SetOverriddenTest(std::move(test));
    {
        const QSignalBlocker block(m_overridden);
        if (!fed) m_overridden->setChecked(false);
    }
    m_overridden->setEnabled(fed);
    m_overridden->setToolTip(fed ? QStringLiteral("Only keys whose value another of the game's files decides")
                                 : kNoOverriddenCheck);
    if (m_model->Criteria().IsActive()) ApplyFilter();
}

void TreeFinder::SetReference(const QString& name, TreeFilterModel::MarkText mark) {
    const bool fed = static_cast<bool>(mark);
    m_model->SetReferenceMark(std::move(mark));
    {
        const QSignalBlocker block(m_differs);
        if (!fed) m_differs->setChecked(false);
    }
    m_differs->setEnabled(fed);
    m_differsText = QStringLiteral("Differs from %1").arg(name);
    m_differs->setAccessibleName(m_differsText);
    m_differs->setToolTip(QStringLiteral("Only keys the game plays differently from %1").arg(name));
    FitToggles();
    if (m_model->Criteria().IsActive()) ApplyFilter();
}

// The find field keeps room for a search of a few words; the toggles give way first.
int TreeFinder::FieldWidth() const { return m_edit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24; }

void TreeFinder::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitToggles();
}

void TreeFinder::FitToggles() {
    // The row is measured with the reference's full name, whichever text the toggle shows now.
    const QFontMetrics metrics = m_differs->fontMetrics();
    int oneRow = m_toggleRows->spacing() * static_cast<int>(m_toggles.size() - 1) +
                 metrics.size(Qt::TextShowMnemonic, m_differsText).width() -
                 metrics.size(Qt::TextShowMnemonic, m_differs->text()).width();
    for (const QToolButton* toggle : m_toggles) oneRow += toggle->sizeHint().width();
    const bool beside = width() >= FieldWidth() + m_bar->spacing() + oneRow;
    // Beneath the field, where room is short, the reference's name is left to the tooltip.
    const QString shown = beside ? m_differsText : QStringLiteral("Differs");
    if (m_differs->text() != shown) m_differs->setText(shown);
    PlaceToggles(beside ? std::numeric_limits<int>::max() : width());
    if (beside == m_togglesBeside) return;
    m_togglesBeside = beside;
    m_bar->removeWidget(m_toggleBox);
    // Beneath the field the toggles wrap, so they ask only for the width of their wider row: a
    // long toggle ("Differs from" a file's name) must not widen the tree's side and squeeze the
    // editor.
    m_toggleBox->setSizePolicy(beside ? QSizePolicy::Preferred : QSizePolicy::Ignored, QSizePolicy::Preferred);
    if (beside)
        m_bar->addWidget(m_toggleBox, 0, 1);
    else
        m_bar->addWidget(m_toggleBox, 1, 0);
}

void TreeFinder::PlaceToggles(int width) {
    while (QLayoutItem* row = m_toggleRows->takeAt(0)) delete row;  // the toggles themselves stay
    const int spacing = m_toggleRows->spacing();
    std::vector<int> widths;
    int all = -spacing;
    for (const QToolButton* toggle : m_toggles) {
        widths.push_back(toggle->sizeHint().width());
        all += spacing + widths.back();
    }
    // At most two rows, so that the window's least height stays within small screens. The box
    // asks for the width of the narrowest split into two rows, whatever its width now (else the
    // splitter could not make the tree's side narrower again); the first row then takes what
    // fits, the second the rest, which never is wider.
    int least = all;
    int first = -spacing;
    for (std::size_t split = 0; split + 1 < widths.size(); ++split) {
        first += spacing + widths[split];
        least = std::min(least, std::max(first, all - first - spacing));
    }
    m_toggleBox->setMinimumWidth(least);
    QHBoxLayout* row = nullptr;
    int used = 0;
    for (std::size_t i = 0; i < m_toggles.size(); ++i) {
        const bool second = row != nullptr && m_toggleRows->count() == 1 && used + spacing + widths[i] > width;
        if (row == nullptr || second) {
            if (row != nullptr) row->addStretch(1);
            row = new QHBoxLayout;
            row->setSpacing(spacing);
            m_toggleRows->addLayout(row);
            used = widths[i];
        } else {
            used += spacing + widths[i];
        }
        row->addWidget(m_toggles[i]);
    }
    row->addStretch(1);
}

}  // namespace morvane::app
