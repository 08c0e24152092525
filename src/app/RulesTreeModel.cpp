#include "app/RulesTreeModel.h"

#include <QPalette>

#include "guicommon/Artwork.h"
#include "guicommon/Latin1.h"

using morvane::guicommon::ToQt;

namespace morvane::app {
namespace {

// A label longer than this is shown cut short: laying out a value of a megabyte on every
// repaint of its row would freeze the window. The tree and the editor keep the whole value.
constexpr std::size_t kLongestShownLabel = 256;

QString ShownLabel(const std::string& label) {
    if (label.size() <= kLongestShownLabel) return ToQt(label);
    return ToQt(std::string_view(label).substr(0, kLongestShownLabel)) + QChar(0x2026);
}

}  // namespace
RulesTreeModel::RulesTreeModel(Tree& tree, QObject* parent) : QAbstractItemModel(parent), m_tree(tree) {
    m_tree.SetLabelObserver([this](TreeItem item) {
        const QModelIndex index = IndexOf(item);
        emit dataChanged(index, index, {Qt::DisplayRole});
    });
}

QModelIndex RulesTreeModel::IndexOf(TreeItem item) const {
    if (item == kNoItem) return {};
    return createIndex(static_cast<int>(m_tree.IndexInParent(item)), 0, static_cast<quintptr>(item));
}

TreeItem RulesTreeModel::ItemOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TreeItem>(index.internalId()) : kRoot;
}

void RulesTreeModel::BeginRebuild() { beginResetModel(); }
void RulesTreeModel::EndRebuild() { endResetModel(); }

QModelIndex RulesTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const TreeItem parentItem = ItemOf(parent);
    if (column != 0 || row < 0 || static_cast<std::size_t>(row) >= m_tree.ChildCount(parentItem)) return {};
    return createIndex(row, 0, static_cast<quintptr>(m_tree.ChildAt(parentItem, static_cast<std::size_t>(row))));
}

QModelIndex RulesTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    return IndexOf(m_tree.GetParentItem(ItemOf(child)));
}

int RulesTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(m_tree.ChildCount(ItemOf(parent)));
}

int RulesTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool RulesTreeModel::hasChildren(const QModelIndex& parent) const { return m_tree.ItemHasChildren(ItemOf(parent)); }

QVariant RulesTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const TreeItem item = ItemOf(index);
    if (role == Qt::DisplayRole || role == Qt::ForegroundRole || role == Qt::ToolTipRole ||
        role == Qt::AccessibleDescriptionRole) {
        const auto inherited =
            m_inherited && m_tree.IsKeyItem(item) && !m_tree.GetItemValue(item) ? m_inherited(item) : std::nullopt;
        if (role == Qt::DisplayRole)
            return inherited ? ToQt(m_tree.GetItemKey(item)) + QStringLiteral(" = ") + inherited->value
                             : ShownLabel(m_tree.GetItemText(item));
        if (!inherited) return {};
        if (role == Qt::ForegroundRole) return QPalette().brush(QPalette::Disabled, QPalette::Text);
        return inherited->from;
    }
    if (role == Qt::DecorationRole) {
        if (m_kindOf && !m_tree.ItemHasChildren(item))
            if (const auto kind = m_kindOf(item)) return KindIcon(*kind);
        return IconFor(m_tree.GetItemImage(item), m_tree.GetItemSelectedImage(item));
    }
    return {};
}

QIcon RulesTreeModel::IconFor(int image, int selectedImage) const {
    const int key = image * 256 + selectedImage;
    auto found = m_icons.find(key);
    if (found == m_icons.end()) {
        QIcon icon(art::TreeImage(image));
        icon.addPixmap(art::TreeImage(selectedImage), QIcon::Selected);
        found = m_icons.insert(key, icon);
    }
    return *found;
}

QIcon RulesTreeModel::KindIcon(art::KindIcon kind) const {
    // Past the tree's own image pairs, which are below 49 * 256 + 49.
    const int key = 0x10000 + static_cast<int>(kind);
    auto found = m_icons.find(key);
    if (found == m_icons.end()) found = m_icons.insert(key, QIcon(art::KindImage(kind)));
    return *found;
}

}  // namespace morvane::app
