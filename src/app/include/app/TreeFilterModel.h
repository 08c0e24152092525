#pragma once

#include <QSortFilterProxyModel>
#include <functional>
#include <optional>
#include <vector>

#include "schema/StringTable.h"
#include "tree/ItemFileAccess.h"
#include "tree/KeyDefaultState.h"
#include "tree/Tree.h"
#include "tree/TreeFilter.h"

namespace morvane::app {

class RulesTreeModel;

// What the tree keeps while a filter is in use.
struct FilterCriteria {
    QString text;
    bool changedOnly = false;     // keys whose value differs from the default
    bool presentOnly = false;     // keys the file holds
    bool problemOnly = false;     // keys the problem test flags
    bool overriddenOnly = false;  // keys whose value another of the game's files decides
    bool differsOnly = false;     // keys the game plays differently from the reference

    bool IsActive() const {
        return !text.isEmpty() || changedOnly || presentOnly || problemOnly || overriddenOnly || differsOnly;
    }
    bool operator==(const FilterCriteria&) const = default;
};

// The navigation tree as the view shows it: only the items a filter keeps (with their
// ancestors), and keys whose value differs from the default in bold with the default in their
// tooltip. The marks follow every label change of the source model.
class TreeFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using ProblemTest = std::function<bool(TreeItem)>;

    TreeFilterModel(RulesTreeModel& source, const Tree& tree, const ItemFileAccess& items, const StringTable& table,
                    QObject* parent = nullptr);

    // New criteria; different ones also let go of the pinned item.
    void SetCriteria(const FilterCriteria& criteria);
    // Keeps an item (the one being edited) shown while the criteria stay as they are, even when
    // its new value no longer passes them.
    void Pin(TreeItem item) { m_pinned = item; }
    // Describes an item's marks for assistive technology (the tree's accessible description).
    using MarkText = std::function<QString(TreeItem)>;
    void SetMarkText(MarkText text) { m_markText = std::move(text); }
    const FilterCriteria& Criteria() const { return m_criteria; }
    // Which keys have a problem; empty while nothing checks the file.
    void SetProblemTest(ProblemTest test);
    // Which keys a later layer of the game overrides; empty while nothing tells.
    void SetOverriddenTest(ProblemTest test);
    // How a key stands against the reference: "Differs from stock values: 400" for a key the
    // game plays differently, empty for one it plays the same. Such keys are shown in italics
    // with the text in their tooltip; an empty function disables the "differs" criterion.
    void SetReferenceMark(MarkText text);

    TreeItem ItemOf(const QModelIndex& proxyIndex) const;
    QModelIndex IndexOf(TreeItem item) const;  // invalid when the filter hides the item
    const KeyDefaultState& StateOf(TreeItem item) const;

    QVariant data(const QModelIndex& index, int role) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void RunFilter();  // the core's marks only
    void Rerun();      // the marks, then the view
    bool PassesToggles(TreeItem item) const;
    bool UnderPinOrMatch(TreeItem item) const;

    RulesTreeModel& m_source;
    const Tree& m_tree;
    const ItemFileAccess& m_items;
    TreeFilter m_filter;
    // The filter's search texts wait for the first filtering after the tree was rebuilt: a tree
    // that nobody filters never needs them.
    bool m_textsStale = false;
    FilterCriteria m_criteria;
    ProblemTest m_problemTest;
    MarkText m_markText;
    TreeItem m_pinned = kNoItem;
    ProblemTest m_overriddenTest;
    MarkText m_referenceMark;
    mutable std::vector<std::optional<KeyDefaultState>> m_states;  // by item handle, filled on first use
};

}  // namespace morvane::app
