#pragma once

#include <QWidget>
#include <vector>

#include "app/TreeFilterModel.h"

class QGridLayout;
class QVBoxLayout;
class QLineEdit;
class QToolButton;
class QTreeView;

namespace morvane::app {

class RulesTreeModel;

// The navigation tree with a find bar above it: a text field (Ctrl+F) and three toggles that
// keep only keys differing from the default, keys present in the file, keys with a problem, keys
// another of the game's files decides, or keys the game plays differently from the reference.
// While a filter is in use the kept items are shown expanded; Escape in the field clears the
// filter and goes back to the item that was selected.
class TreeFinder : public QWidget {
    Q_OBJECT
public:
    TreeFinder(RulesTreeModel& model, const Tree& tree, const ItemFileAccess& items, const StringTable& table,
               QTreeView* view, QWidget* parent = nullptr);

    // The item behind an index of the view, and the view's index of an item; the latter clears
    // the filter first when the filter hides the item.
    TreeItem ItemOf(const QModelIndex& viewIndex) const { return m_model->ItemOf(viewIndex); }
    QModelIndex ViewIndexOf(TreeItem item);

    // Feeds the "has a problem" toggle; an empty test disables it again.
    void SetProblemTest(TreeFilterModel::ProblemTest test);
    // Feeds the "Overridden" toggle: keys another of the game's files decides.
    void SetOverriddenTest(TreeFilterModel::ProblemTest test);
    // Feeds the "Differs from REFERENCE" toggle and the tree's marks (see
    // TreeFilterModel::SetReferenceMark); `name` is the reference as the toggle names it.
    void SetReference(const QString& name, TreeFilterModel::MarkText mark);

    void ClearFilter();
    // Ctrl+F: the field takes the focus with its text selected.
    void FocusField();
    // Runs the filter again when one is in use (the problems it tests for have changed).
    void Refilter();
    TreeFilterModel* FilterModel() const { return m_model; }
    QLineEdit* FilterEdit() const { return m_edit; }
    QToolButton* ChangedToggle() const { return m_changed; }
    QToolButton* PresentToggle() const { return m_present; }
    QToolButton* ProblemToggle() const { return m_problem; }
    QToolButton* OverriddenToggle() const { return m_overridden; }
    QToolButton* DiffersToggle() const { return m_differs; }

signals:
    // The user (or SelectItem) made another item current.
    void ItemSelected(TreeItem item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyFilter();
    void Reveal(TreeItem item);
    // Down or Enter in the field: the view takes the focus, on the first key kept unless a key
    // is current.
    void EnterResults();
    std::vector<TreeItem> OpenBranches() const;

    TreeFilterModel* m_model = nullptr;
    QTreeView* m_view = nullptr;
    int FieldWidth() const;
    // The toggles beside the field while they fit in one row, else beneath it in two.
    void FitToggles();
    void PlaceToggles(int width);

    QLineEdit* m_edit = nullptr;
    QGridLayout* m_bar = nullptr;
    QWidget* m_toggleBox = nullptr;
    QVBoxLayout* m_toggleRows = nullptr;
    std::vector<QToolButton*> m_toggles;
    QString m_differsText = QStringLiteral("Differs");
    bool m_togglesBeside = true;
    QToolButton* m_changed = nullptr;
    QToolButton* m_present = nullptr;
    QToolButton* m_problem = nullptr;
    QToolButton* m_overridden = nullptr;
    QToolButton* m_differs = nullptr;
    TreeItem m_selected = kNoItem;         // the last item the user selected
    std::vector<TreeItem> m_openBranches;  // open when the filter began
};

}  // namespace morvane::app
