#pragma once

#include <QStyledItemDelegate>
#include <functional>

#include "app/FindingMarks.h"

namespace morvane::app {

// Draws the tree's rows as usual, with a small coloured dot over the icon of each item that
// has a finding (red error, amber warning, blue note), and shows the findings as its tooltip.
class FindingMarkDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using ItemOfIndex = std::function<TreeItem(const QModelIndex&)>;
    FindingMarkDelegate(const FindingMarks& marks, ItemOfIndex itemOf, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The colour of a level's marker, shared with the Problems panel.
    static QColor LevelColour(gameview::Level level);

private:
    static void PaintOverridden(QPainter* painter, const QStyleOptionViewItem& option);
    const FindingMarks& m_marks;
    ItemOfIndex m_itemOf;
};

}  // namespace morvane::app
