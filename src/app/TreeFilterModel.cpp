#include "app/TreeFilterModel.h"

#include <QFont>

#include "app/RulesTreeModel.h"
#include "guicommon/Latin1.h"

using morvane::guicommon::FromQt;
using morvane::guicommon::ToQt;

namespace morvane::app {

TreeFilterModel::TreeFilterModel(RulesTreeModel& source, const Tree& tree, const ItemFileAccess& items,
                                 const StringTable& table, QObject* parent)
    : QSortFilterProxyModel(parent), m_source(source), m_tree(tree), m_items(items), m_filter(tree, table) {
    // The source's own reset signal reaches us before the proxy's handler: the caches are
    // fresh by the time the view asks again.
    connect(&source, &QAbstractItemModel::modelReset, this, [this] {
        m_textsStale = true;
        m_states.clear();
        // Only the marks: the proxy's own reset, which follows, asks for every row again.
        RunFilter();
    });
    connect(&source, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
        const TreeItem item = m_source.ItemOf(topLeft);
        if (!m_textsStale) m_filter.Refresh(item);
        if (item < m_states.size()) m_states[item].reset();
    });
    setSourceModel(&source);
}

const KeyDefaultState& TreeFilterModel::StateOf(TreeItem item) const {
    if (m_states.size() <= item) m_states.resize(m_tree.ItemCount() + 1);
    std::optional<KeyDefaultState>& state = m_states.at(item);
    if (!state) state = DescribeKeyDefaultState(m_items, m_tree, item);
    return *state;
}

TreeItem TreeFilterModel::ItemOf(const QModelIndex& proxyIndex) const {
    return proxyIndex.isValid() ? m_source.ItemOf(mapToSource(proxyIndex)) : kNoItem;
}

QModelIndex TreeFilterModel::IndexOf(TreeItem item) const { return mapFromSource(m_source.IndexOf(item)); }

void TreeFilterModel::SetCriteria(const FilterCriteria& criteria) {
    if (!(criteria == m_criteria)) m_pinned = kNoItem;
    m_criteria = criteria;
    if (!m_problemTest) m_criteria.problemOnly = false;
    if (!m_overriddenTest) m_criteria.overriddenOnly = false;
    if (!m_referenceMark) m_criteria.differsOnly = false;
    Rerun();
}

void TreeFilterModel::SetReferenceMark(MarkText text) {
    m_referenceMark = std::move(text);
    if (!m_referenceMark) m_criteria.differsOnly = false;
    Rerun();
}

void TreeFilterModel::SetOverriddenTest(ProblemTest test) {
    m_overriddenTest = std::move(test);
    if (!m_overriddenTest) m_criteria.overriddenOnly = false;
    Rerun();
}

void TreeFilterModel::SetProblemTest(ProblemTest test) {
    m_problemTest = std::move(test);
    if (!m_problemTest) m_criteria.problemOnly = false;
    Rerun();
}

bool TreeFilterModel::PassesToggles(TreeItem item) const {
    if (!m_criteria.changedOnly && !m_criteria.presentOnly && !m_criteria.problemOnly && !m_criteria.overriddenOnly &&
        !m_criteria.differsOnly)
        return true;
    const KeyDefaultState& state = StateOf(item);
    if (!state.isKey) return false;
    if (m_criteria.changedOnly && !state.changed) return false;
    if (m_criteria.presentOnly && !state.present) return false;
    if (m_criteria.problemOnly && !(m_problemTest && m_problemTest(item))) return false;
    if (m_criteria.overriddenOnly && !(m_overriddenTest && m_overriddenTest(item))) return false;
    if (m_criteria.differsOnly && !(m_referenceMark && !m_referenceMark(item).isEmpty())) return false;
    return true;
}

void TreeFilterModel::RunFilter() {
    if (!m_criteria.IsActive()) return;
    if (m_textsStale) {
        m_filter.Reset();
        m_textsStale = false;
    }
    m_filter.Run(FromQt(m_criteria.text), [this](TreeItem item) { return PassesToggles(item); });
}

void TreeFilterModel::Rerun() {
    RunFilter();
    // One re-layout of the whole view: removing and inserting rows parent by parent costs far
    // more when thousands of them change at once.
    invalidate();
}

bool TreeFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!m_criteria.IsActive()) return true;
    const TreeItem item = m_source.ItemOf(m_source.index(sourceRow, 0, sourceParent));
    return m_filter.Shown(item) || UnderPinOrMatch(item);
}

// The pinned item and its ancestors; and, for a text alone, everything under an item the text
// names (a search for an object's name shows the object's keys).
bool TreeFilterModel::UnderPinOrMatch(TreeItem item) const {
    for (TreeItem pinned = m_pinned; pinned != kNoItem; pinned = m_tree.GetParentItem(pinned))
        if (pinned == item) return true;
    if (m_criteria.text.isEmpty() || m_criteria.changedOnly || m_criteria.presentOnly || m_criteria.problemOnly ||
        m_criteria.overriddenOnly || m_criteria.differsOnly)
        return false;
    for (TreeItem parent = m_tree.GetParentItem(item); parent != kNoItem; parent = m_tree.GetParentItem(parent))
        if (m_filter.Matched(parent)) return true;
    return false;
}

QVariant TreeFilterModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::AccessibleDescriptionRole && role != Qt::FontRole && role != Qt::ToolTipRole)
        return QSortFilterProxyModel::data(index, role);
    const TreeItem item = ItemOf(index);
    const KeyDefaultState& state = StateOf(item);
    const QString changed = !state.changed ? QString()
                            : state.defaultValue.empty()
                                ? QStringLiteral("Changed from the default, which is empty")
                                : QStringLiteral("Changed from the default: %1").arg(ToQt(state.defaultValue));
    const QString reference = m_referenceMark && state.isKey ? m_referenceMark(item) : QString();
    if (role == Qt::AccessibleDescriptionRole) {
        QStringList marks;
        // What the tree model itself says (where an inherited value comes from) comes first.
        if (const QVariant own = QSortFilterProxyModel::data(index, role); own.isValid()) marks << own.toString();
        if (!changed.isEmpty()) marks << changed;
        if (!reference.isEmpty()) marks << reference;
        if (m_markText) {
            const QString problems = m_markText(item);
            if (!problems.isEmpty()) marks << QStringLiteral("Problem: ") + problems;
        }
        return marks.isEmpty() ? QVariant() : QVariant(marks.join(QStringLiteral(". ")));
    }
    const QVariant own = QSortFilterProxyModel::data(index, role);
    if (changed.isEmpty() && reference.isEmpty()) return own;
    // Added to what the tree model itself says about the item, not in its place.
    if (role == Qt::FontRole) {
        QFont font = own.isValid() ? own.value<QFont>() : QFont();
        if (!changed.isEmpty()) font.setBold(true);
        if (!reference.isEmpty()) font.setItalic(true);
        return font;
    }
    QStringList tip;
    for (const QString& line : {changed, reference, own.toString()})
        if (!line.isEmpty()) tip << line;
    return tip.join(QLatin1Char('\n'));
}

}  // namespace morvane::app
