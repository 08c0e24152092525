#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QString>

#include <functional>
#include <optional>

#include "guicommon/Artwork.h"
#include "tree/Tree.h"

namespace morvane::app {

// A value a key shows without the open file setting it: what an edited layer inherits from the
// files beneath it. The tree shows it greyed, and says where it comes from.
struct InheritedValue {
    QString value;
    QString from;
};

// Shows the core's navigation tree in a QTreeView: one row per item, the label as text and the
// item's two images as its icon (normal and selected), or for a key the picture of the kind of
// value it holds. A changed label redraws its row.
class RulesTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit RulesTreeModel(Tree& tree, QObject* parent = nullptr);

    QModelIndex IndexOf(TreeItem item) const;
    TreeItem ItemOf(const QModelIndex& index) const;

    // Which kind of value a key item holds; items without a kind keep the tree's own images.
    void SetKindOf(std::function<std::optional<art::KindIcon>(TreeItem)> kindOf) { m_kindOf = std::move(kindOf); }

    // The value a key without one of its own shows, greyed; none: the bare key.
    void SetInherited(std::function<std::optional<InheritedValue>(TreeItem)> inherited) {
        m_inherited = std::move(inherited);
    }

    // Call around a rebuild of the tree.
    void BeginRebuild();
    void EndRebuild();

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;

private:
    QIcon IconFor(int image, int selectedImage) const;
    QIcon KindIcon(art::KindIcon kind) const;

    Tree& m_tree;
    std::function<std::optional<art::KindIcon>(TreeItem)> m_kindOf;
    std::function<std::optional<InheritedValue>(TreeItem)> m_inherited;
    mutable QHash<int, QIcon> m_icons;  // by image * 256 + selected image
};

}  // namespace morvane::app
