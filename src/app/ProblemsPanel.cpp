#include "app/ProblemsPanel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/FindingMarkDelegate.h"
#include "guicommon/Latin1.h"

namespace morvane::app {
namespace {

constexpr int kItemRole = Qt::UserRole + 1;

QIcon LevelIcon(gameview::Level level) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FindingMarkDelegate::LevelColour(level));
    painter.drawEllipse(QRectF(1, 1, 10, 10));
    return QIcon(pixmap);
}

QString Counted(int count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

}  // namespace

ProblemsPanel::ProblemsPanel(const FindingMarks& marks, QWidget* parent) : QWidget(parent), m_marks(marks) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    m_summary = new QLabel(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("problems"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Level"), QStringLiteral("Where"),
                             QStringLiteral("What the game does")});
    m_list->header()->setStretchLastSection(true);
    const QFontMetrics metrics(m_list->font());
    m_list->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("00000")) + 12);
    m_list->setColumnWidth(1, metrics.horizontalAdvance(QStringLiteral("warning")) + 36);
    m_list->setColumnWidth(2, metrics.horizontalAdvance(QStringLiteral("[MultiplayerDefaults] Crates")));
    m_list->setWordWrap(false);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* row) {
        const TreeItem item = row->data(0, kItemRole).toUInt();
        if (item != kNoItem) emit ItemChosen(item);
    });
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* row) {
        const TreeItem item = row->data(0, kItemRole).toUInt();
        if (item != kNoItem) emit ItemChosen(item);
    });
    connect(&m_marks, &FindingMarks::Refreshed, this, &ProblemsPanel::Fill);
    Fill();
}

void ProblemsPanel::Fill() {
    const int scrolled = m_list->verticalScrollBar() == nullptr ? 0 : m_list->verticalScrollBar()->value();
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    int counts[3] = {0, 0, 0};
    QList<QTreeWidgetItem*> rows;
    for (const MarkedFinding& marked : m_marks.Findings()) {
        const gameview::Finding& f = marked.finding;
        ++counts[static_cast<int>(f.level)];
        QString where = f.section.empty() ? QString() : QStringLiteral("[%1]").arg(ToQt(f.section));
        if (!f.key.empty()) where += QLatin1Char(' ') + ToQt(f.key);
        auto* row = new QTreeWidgetItem(
            {QString::number(f.line), QLatin1String(gameview::LevelWord(f.level)), where, ToQt(f.message)});
        row->setIcon(1, LevelIcon(f.level));
        row->setToolTip(3, ToQt(f.message));
        row->setData(0, kItemRole, static_cast<uint>(marked.item));
        row->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        rows.append(row);
    }
    m_list->addTopLevelItems(rows);
    m_list->setUpdatesEnabled(true);
    m_list->verticalScrollBar()->setValue(scrolled);
    const int total = counts[0] + counts[1] + counts[2];
    m_summary->setText(total == 0
                           ? QStringLiteral("Problems: the game reads every line as it is written.")
                           : QStringLiteral("Problems: %1, %2, %3")
                                 .arg(Counted(counts[0], "error", "errors"), Counted(counts[1], "warning", "warnings"),
                                      Counted(counts[2], "note", "notes")));
}

}  // namespace morvane::app
