#include "app/ProblemsPanel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/FindingMarkDelegate.h"
#include "guicommon/Latin1.h"

using morvane::guicommon::ToQt;

namespace morvane::app {
namespace {

QIcon PaintLevelIcon(gameview::Level level) {
    QIcon icon;
    // Drawn for 1x and 2x screens, so the dot stays round and sharp on both.
    for (const int side : {12, 24}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(FindingMarkDelegate::LevelColour(level));
        const qreal margin = side / 12.0;
        painter.drawEllipse(QRectF(margin, margin, side - 2 * margin, side - 2 * margin));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

int Severity(gameview::Level level) {
    return level == gameview::Level::Error ? 2 : level == gameview::Level::Warning ? 1 : 0;
}

QString Counted(int count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

QString WhereOf(const gameview::Finding& finding) {
    QString where = finding.section.empty() ? QString() : QStringLiteral("[%1]").arg(ToQt(finding.section));
    if (!finding.key.empty()) where += QLatin1Char(' ') + ToQt(finding.key);
    return where;
}

}  // namespace

ProblemsModel::ProblemsModel(const FindingMarks& marks, QObject* parent) : QAbstractTableModel(parent), m_marks(marks) {
    MakeOrder();
    connect(&m_marks, &FindingMarks::Refreshed, this, [this] {
        // A check that found the same as the one before (a write that fixed nothing and broke
        // nothing) leaves the table as it is: no reset, no repaint.
        if (!m_marks.FindingsChanged() && !m_marks.AllMarksChanged()) return;
        beginResetModel();
        MakeOrder();
        endResetModel();
    });
}

const MarkedFinding& ProblemsModel::At(int row) const {
    return m_marks.Findings()[m_order[static_cast<std::size_t>(row)]];
}

void ProblemsModel::MakeOrder() {
    const std::vector<MarkedFinding>& findings = m_marks.Findings();
    m_order.resize(findings.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) m_order[i] = i;
    // Each row's sort key made once, compared directly (no QVariant per comparison).
    std::vector<std::string> texts;
    if (m_sortColumn == kWhere || m_sortColumn == kMessage) {
        texts.reserve(findings.size());
        for (const MarkedFinding& marked : findings)
            texts.push_back(m_sortColumn == kWhere ? WhereOf(marked.finding).toLower().toStdString()
                                                   : marked.finding.message);
    }
    const auto less = [&](std::size_t a, std::size_t b) {
        const gameview::Finding& x = findings[a].finding;
        const gameview::Finding& y = findings[b].finding;
        switch (m_sortColumn) {
            case kLine:
                return x.line < y.line;
            case kLevel:
                return Severity(x.level) < Severity(y.level);
            default:
                return texts[a] < texts[b];
        }
    };
    if (m_sortOrder == Qt::AscendingOrder)
        std::stable_sort(m_order.begin(), m_order.end(), less);
    else
        std::stable_sort(m_order.begin(), m_order.end(), [&less](std::size_t a, std::size_t b) { return less(b, a); });
}

void ProblemsModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kColumns) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> findingOf;
    findingOf.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) findingOf.push_back(m_order[static_cast<std::size_t>(index.row())]);
    m_sortColumn = column;
    m_sortOrder = order;
    MakeOrder();
    std::vector<int> rowOf(m_order.size());
    for (std::size_t row = 0; row < m_order.size(); ++row) rowOf[m_order[row]] = static_cast<int>(row);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOf[findingOf[static_cast<std::size_t>(i)]], before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QIcon ProblemsModel::LevelIcon(gameview::Level level) {
    static const std::array<QIcon, 3> icons = {PaintLevelIcon(gameview::Level::Error),
                                               PaintLevelIcon(gameview::Level::Warning),
                                               PaintLevelIcon(gameview::Level::Note)};
    return icons[static_cast<std::size_t>(level)];
}

int ProblemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_marks.Findings().size());
}

int ProblemsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant ProblemsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const MarkedFinding& marked = At(index.row());
    const gameview::Finding& finding = marked.finding;
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case kLine:
                    return QString::number(finding.line);
                case kLevel:
                    return QLatin1String(gameview::LevelWord(finding.level));
                case kWhere:
                    return WhereOf(finding);
                case kMessage:
                    return ToQt(finding.message);
                default:
                    return {};
            }
        case Qt::DecorationRole:
            return index.column() == kLevel ? QVariant(LevelIcon(finding.level)) : QVariant();
        case Qt::ToolTipRole:
            return index.column() == kMessage ? QVariant(ToQt(finding.message)) : QVariant();
        case Qt::TextAlignmentRole:
            return index.column() == kLine ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        case kItemRole:
            return static_cast<uint>(marked.item);
        default:
            return {};
    }
}

QVariant ProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[kColumns] = {"Line", "Level", "Where", "What the game does"};
    return section >= 0 && section < kColumns ? QVariant(QString::fromLatin1(kTitles[section])) : QVariant();
}

ProblemsPanel::ProblemsPanel(const FindingMarks& marks, QWidget* parent)
    : QDockWidget(QStringLiteral("Problems"), parent), m_marks(marks) {
    setObjectName(QStringLiteral("problemsDock"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 0, 4, 4);
    m_summary = new QLabel(body);
    m_model = new ProblemsModel(marks, this);
    m_list = new QTreeView(body);
    m_list->setObjectName(QStringLiteral("problems"));
    m_list->setAccessibleName(QStringLiteral("Problems"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(ProblemsModel::kLine, Qt::AscendingOrder);
    m_list->header()->setStretchLastSection(true);
    const QFontMetrics metrics(m_list->font());
    m_list->setColumnWidth(ProblemsModel::kLine, metrics.horizontalAdvance(QStringLiteral("000000")) + 16);
    m_list->setColumnWidth(ProblemsModel::kLevel, metrics.horizontalAdvance(QStringLiteral("warning")) + 48);
    m_list->setColumnWidth(ProblemsModel::kWhere,
                           metrics.horizontalAdvance(QStringLiteral("[MultiplayerDefaults] Crates")));
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    setWidget(body);
    connect(m_list, &QTreeView::clicked, this, &ProblemsPanel::Choose);
    connect(m_list, &QTreeView::activated, this, &ProblemsPanel::Choose);
    // A new check resets the table; after a write the list stays where it was scrolled to.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_scrolled = m_list->verticalScrollBar()->value(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_list->doItemsLayout();
        m_list->verticalScrollBar()->setValue(m_startAtTop ? 0 : m_scrolled);
        m_startAtTop = false;
    });
    connect(&m_marks, &FindingMarks::Refreshed, this, &ProblemsPanel::Fill);
    Fill();
}

void ProblemsPanel::Choose(const QModelIndex& index) {
    const TreeItem item = index.data(ProblemsModel::kItemRole).toUInt();
    if (item != kNoItem) emit ItemChosen(item);
}

void ProblemsPanel::Fill() {
    int counts[3] = {0, 0, 0};
    for (const MarkedFinding& marked : m_marks.Findings()) ++counts[static_cast<int>(marked.finding.level)];
    const int total = counts[0] + counts[1] + counts[2];
    m_summary->setText(total == 0
                           ? QStringLiteral("Problems: the game reads every line as it is written.")
                           : QStringLiteral("Problems: %1, %2, %3")
                                 .arg(Counted(counts[0], "error", "errors"), Counted(counts[1], "warning", "warnings"),
                                      Counted(counts[2], "note", "notes")));
}

QStringList ProblemsPanel::ShownRows() const {
    QStringList rows;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        QStringList cells;
        for (int column : {ProblemsModel::kLine, ProblemsModel::kLevel, ProblemsModel::kWhere})
            cells << m_model->index(row, column).data().toString();
        rows << cells.join(QLatin1Char(' '));
    }
    return rows;
}

}  // namespace morvane::app
