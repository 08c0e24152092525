#include "app/ReferenceCompare.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/FindingMarks.h"
#include "gameview/GameKeys.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "platform/FileAccess.h"
#include "schema/DefaultRulesFile.h"

using morvane::guicommon::PathToQt;
using morvane::guicommon::ToQt;

namespace morvane::app {

ReferenceCompare::ReferenceCompare(const StringTable& catalogue, const FindingMarks& marks,
                                   const RulesFileAccess& rules, QObject* parent)
    : QObject(parent), m_catalogue(catalogue), m_marks(marks), m_rules(rules) {}

void ReferenceCompare::UseStockValues() {
    m_path.clear();
    m_bytes.clear();
    Refresh();
}

bool ReferenceCompare::UseFile(const std::string& path, std::string& error) {
    const platform::FileReadResult read = platform::ReadRegularFile(path);
    if (!read.bytes) {
        error = platform::DescribeReadFailure(read.error, path);
        return false;
    }
    m_path = path;
    m_bytes = *read.bytes;
    Refresh();
    return true;
}

QString ReferenceCompare::Name() const {
    return IsStock() ? QStringLiteral("stock values") : QFileInfo(PathToQt(m_path)).fileName();
}

const std::string& ReferenceCompare::ReferenceBytes() const {
    if (IsStock()) {
        if (m_stock.empty()) m_stock = MakeDefaultRulesFile(m_catalogue);
        return m_stock;
    }
    // The reference may be edited elsewhere while it is open here: read it again each time.
    if (auto bytes = platform::ReadFileBytes(m_path)) m_bytes = std::move(*bytes);
    return m_bytes;
}

void ReferenceCompare::Refresh() {
    m_differences.clear();
    const std::unordered_map<TreeItem, std::size_t> before = std::move(m_byItem);
    m_byItem.clear();
    // The open file as the window holds it: it was read or written just before.
    if (const RulesDocument& document = m_rules.Document(); document.Exists()) {
        // Both readings are kept between refreshes: the open file's is the document's own, the
        // reference's is made again only when its bytes changed.
        const std::string& reference = ReferenceBytes();
        if (m_referenceGame == nullptr || reference != m_referenceGameOf) {
            m_referenceGame = std::make_shared<const gameview::GameIni>(reference);
            m_referenceGameOf = reference;
        }
        m_differences = compare::DiffKeys(gameview::GameKeys::BuiltIn(), *m_referenceGame, document.Game());
        for (std::size_t i = 0; i < m_differences.size(); ++i) {
            const TreeItem item = m_marks.ItemAt(m_differences[i].section, m_differences[i].key, false);
            if (item != kNoItem) m_byItem.emplace(item, i);
        }
    }
    m_changedItems.clear();
    for (const auto& [item, index] : m_byItem)
        if (before.count(item) == 0) m_changedItems.push_back(item);
    for (const auto& [item, index] : before)
        if (m_byItem.count(item) == 0) m_changedItems.push_back(item);
    emit Refreshed();
}

TreeItem ReferenceCompare::ItemOf(const compare::KeyDifference& difference) const {
    return m_marks.ItemAt(difference.section, difference.key, true);
}

const compare::KeyDifference* ReferenceCompare::DifferenceAt(TreeItem item) const {
    const auto found = m_byItem.find(item);
    return found == m_byItem.end() ? nullptr : &m_differences[found->second];
}

QString ReferenceCompare::MarkText(TreeItem item) const {
    const compare::KeyDifference* difference = DifferenceAt(item);
    return difference == nullptr ? QString() : QStringLiteral("Differs from %1: %2").arg(Name(), ToQt(difference->a));
}

std::optional<compare::RulesDelta> ReferenceCompare::Delta() const {
    const RulesDocument& document = m_rules.Document();
    if (!document.Exists()) return std::nullopt;
    return compare::MakeDelta(gameview::GameKeys::BuiltIn(), ReferenceBytes(), document.Bytes());
}

// ---- The editor's row

ReferenceRow::ReferenceRow(const ReferenceCompare& reference, QWidget* parent)
    : QWidget(parent), m_reference(reference) {
    setObjectName(QStringLiteral("referenceRow"));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("referenceValue"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_take = new QPushButton(QStringLiteral("Take the reference value"), this);
    m_take->setObjectName(QStringLiteral("takeReference"));
    m_take->setAutoDefault(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_text, 1);
    row->addWidget(m_take);
    connect(m_take, &QPushButton::clicked, this, &ReferenceRow::TakeRequested);
    hide();
}

void ReferenceRow::Show(TreeItem item) {
    const compare::KeyDifference* difference = m_reference.DifferenceAt(item);
    setVisible(difference != nullptr);
    if (difference == nullptr) return;
    m_text->setText(m_reference.MarkText(item));
    m_take->setEnabled(difference->aText.has_value());
    m_take->setToolTip(
        difference->aText
            ? QStringLiteral("Write %1 into the file, as %2 has it").arg(ToQt(*difference->aText), m_reference.Name())
            : QStringLiteral("No value written in the file makes the game play this one: it is the "
                             "game's own, or %1 leaves the game a choice between duplicates")
                  .arg(m_reference.Name()));
}

// ---- View > Differences

DifferencesDock::DifferencesDock(const ReferenceCompare& reference, QWidget* parent)
    : QDockWidget(QStringLiteral("Differences"), parent), m_reference(reference) {
    setObjectName(QStringLiteral("differences"));
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(4, 2, 4, 2);
    m_summary = new QLabel(body);
    m_list = new QTreeWidget(body);
    m_list->setAccessibleName(QStringLiteral("Differences"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(3);
    m_list->header()->setStretchLastSection(true);
    column->addWidget(m_summary);
    column->addWidget(m_list, 1);
    setWidget(body);
    const auto choose = [this](QTreeWidgetItem* row) {
        if (row == nullptr) return;
        const auto index = row->data(0, Qt::UserRole).toULongLong();
        if (index < m_reference.Differences().size()) {
            const TreeItem item = m_reference.ItemOf(m_reference.Differences()[index]);
            if (item != kNoItem) emit ItemChosen(item);
        }
    };
    connect(m_list, &QTreeWidget::itemClicked, this, choose);
    connect(m_list, &QTreeWidget::itemActivated, this, choose);
}

void DifferencesDock::Fill() {
    const int scrolled = m_list->verticalScrollBar()->value();
    m_list->clear();
    m_list->setHeaderLabels({QStringLiteral("Key"), m_reference.Name(), QStringLiteral("This file")});
    const auto& differences = m_reference.Differences();
    QList<QTreeWidgetItem*> rows;
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const compare::KeyDifference& difference = differences[i];
        auto* row = new QTreeWidgetItem(QStringList{ToQt("[" + difference.section + "] " + difference.key),
                                                    ToQt(difference.a), ToQt(difference.b)});
        row->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
        rows << row;
    }
    m_list->addTopLevelItems(rows);
    // The key and the reference's value in full; the file's value takes the rest.
    for (int column : {0, 1}) m_list->resizeColumnToContents(column);
    m_list->verticalScrollBar()->setValue(scrolled);
    m_summary->setText(differences.empty()
                           ? QStringLiteral("The game plays this file as %1.").arg(m_reference.Name())
                           : QStringLiteral("%1 %2 play differently from %3.")
                                 .arg(differences.size())
                                 .arg(differences.size() == 1 ? QStringLiteral("key") : QStringLiteral("keys"))
                                 .arg(m_reference.Name()));
}

QStringList DifferencesDock::ShownRows() const {
    QStringList rows;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = m_list->topLevelItem(i);
        rows << row->text(0) + QStringLiteral(": ") + row->text(1) + QStringLiteral(" -> ") + row->text(2);
    }
    return rows;
}

}  // namespace morvane::app
