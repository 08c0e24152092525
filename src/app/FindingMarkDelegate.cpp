#include "app/FindingMarkDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace morvane::app {

FindingMarkDelegate::FindingMarkDelegate(const FindingMarks& marks, ItemOfIndex itemOf, QObject* parent)
    : QStyledItemDelegate(parent), m_marks(marks), m_itemOf(std::move(itemOf)) {}

QColor FindingMarkDelegate::LevelColour(gameview::Level level) {
    switch (level) {
        case gameview::Level::Error:
            return QColor(0xd0, 0x21, 0x21);
        case gameview::Level::Warning:
            return QColor(0xe8, 0x9a, 0x0c);
        case gameview::Level::Note:
            return QColor(0x2f, 0x6f, 0xc4);
    }
    return Qt::gray;
}

void FindingMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const TreeItem item = m_itemOf(index);
    if (item == kNoItem || !m_marks.HasMark(item)) return;
    if (m_marks.IsOverridden(item)) PaintOverridden(painter, option);
    // Over the lower right corner of the row's icon, where the label's text does not reach.
    const int size = std::max(7, option.decorationSize.height() / 2);
    const QRect icon(option.rect.left() + 2,
                     option.rect.top() + (option.rect.height() - option.decorationSize.height()) / 2,
                     option.decorationSize.width(), option.decorationSize.height());
    const QRect dot(icon.right() - size + 2, icon.bottom() - size + 2, size, size);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // A dark rim around a white one: the dot stands out on every kind's picture and on a
    // selected row's colour alike.
    painter->setPen(QPen(QColor(0x1d, 0x21, 0x14), 1));
    painter->setBrush(Qt::white);
    painter->drawEllipse(QRectF(dot).adjusted(-1, -1, 1, 1));
    painter->setPen(Qt::NoPen);
    painter->setBrush(LevelColour(m_marks.MarkLevel(item)));
    painter->drawEllipse(QRectF(dot).adjusted(0.5, 0.5, -0.5, -0.5));
    painter->restore();
}

// Two stacked sheets over the upper right corner of the icon: another file lies on top of this
// value. Its tooltip names that file, with the other findings.
void FindingMarkDelegate::PaintOverridden(QPainter* painter, const QStyleOptionViewItem& option) {
    const int size = std::max(7, option.decorationSize.height() / 2);
    const int left = option.rect.left() + 2 + option.decorationSize.width() - size + 2;
    const int top = option.rect.top() + (option.rect.height() - option.decorationSize.height()) / 2 - 1;
    const QColor colour(0x7a, 0x4f, 0xb0);
    painter->save();
    painter->setPen(QPen(Qt::white, 1));
    painter->setBrush(colour.lighter(140));
    painter->drawRect(QRect(left, top + size / 3, size - size / 3, size - size / 3));
    painter->setBrush(colour);
    painter->drawRect(QRect(left + size / 3, top, size - size / 3, size - size / 3));
    painter->restore();
}

bool FindingMarkDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) {
    if (event != nullptr && event->type() == QEvent::ToolTip) {
        const TreeItem item = m_itemOf(index);
        if (item != kNoItem && m_marks.HasMark(item)) {
            QToolTip::showText(event->globalPos(), m_marks.MarkText(item), view, option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace morvane::app
