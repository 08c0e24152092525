#include "app/BalanceTableModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include "gameview/GameCheck.h"
#include "gameview/GameIni.h"
#include "guicommon/Latin1.h"

using morvane::guicommon::FromQt;
using morvane::guicommon::ToQt;

namespace morvane::app {
namespace {

// No file at all: what the game plays is its built-in value.
class NoFiles : public gameview::PlayedTexts {
public:
    std::vector<std::string> Texts(std::string_view, std::string_view) const override { return {}; }
};

}  // namespace

BalanceTableModel::BalanceTableModel(std::map<std::string, std::string> labels, Writer writer, QObject* parent)
    : QAbstractTableModel(parent), m_labels(std::move(labels)), m_writer(std::move(writer)) {}

void BalanceTableModel::Show(const gameview::TableGroup& group, const std::vector<std::string>& keys,
                             const gameview::LayerStack& layers) {
    beginResetModel();
    const gameview::GameKeys& gameKeys = gameview::GameKeys::BuiltIn();
    const gameview::LayerStackPlay play(layers);
    const gameview::PlayedValues values(gameKeys, play);
    m_group = &group;
    auto built = gameview::BuildObjectTable(values, group, keys, m_labels);
    m_table = built.index() == 0 ? std::get<0>(std::move(built)) : gameview::ObjectTable{};

    const NoFiles none;
    const gameview::PlayedValues builtIn(gameKeys, none);
    m_builtIn.clear();
    const std::string first = m_table.sections.empty() ? std::string() : m_table.sections.front();
    for (const std::string& key : m_table.keys) m_builtIn.push_back(builtIn.Text(first, key));

    // The findings of the rules file, the file the table edits.
    m_findings.clear();
    if (const gameview::GameIni* ini = layers.Ini(gameview::Layer::Rules))
        for (const gameview::Finding& finding : gameview::CheckRulesFile(*ini, gameKeys))
            if (!finding.key.empty()) m_findings.emplace(std::make_pair(finding.section, finding.key), finding.message);
    endResetModel();
}

std::string BalanceTableModel::KeyAt(int column) const {
    const int key = column - kFirstKeyColumn;
    return key >= 0 && key < static_cast<int>(m_table.keys.size()) ? m_table.keys[static_cast<std::size_t>(key)]
                                                                   : std::string();
}

int BalanceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_table.sections.size());
}

int BalanceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFirstKeyColumn + static_cast<int>(m_table.keys.size());
}

QString BalanceTableModel::CellText(int row, int column) const {
    const auto r = static_cast<std::size_t>(row);
    if (column == 0) return ToQt(m_table.sections[r]);
    if (column == 1) return ToQt(m_table.names[r]);
    return ToQt(m_table.cells[r][static_cast<std::size_t>(column - kFirstKeyColumn)]);
}

QVariant BalanceTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row(), column = index.column();
    const bool keyColumn = column >= kFirstKeyColumn;
    const auto finding = keyColumn ? m_findings.find({m_table.sections[static_cast<std::size_t>(row)], KeyAt(column)})
                                   : m_findings.end();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return CellText(row, column);
        case kSortRole: {
            const QString text = CellText(row, column);
            bool number = false;
            const double value = text.toDouble(&number);
            return number ? QVariant(value) : QVariant(text.toLower());
        }
        case Qt::FontRole: {
            if (!keyColumn) return {};
            QFont font;
            font.setBold(
                m_table.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column - kFirstKeyColumn)] !=
                m_builtIn[static_cast<std::size_t>(column - kFirstKeyColumn)]);
            return font;
        }
        case Qt::BackgroundRole:
            return finding != m_findings.end() ? QVariant(QBrush(QColor(255, 224, 178))) : QVariant();
        case Qt::ToolTipRole:
            return finding != m_findings.end() ? QVariant(ToQt(finding->second)) : QVariant();
        default:
            return {};
    }
}

QVariant BalanceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section == 0) return QStringLiteral("Section");
    if (section == 1) return QStringLiteral("Name");
    return ToQt(KeyAt(section));
}

Qt::ItemFlags BalanceTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() >= kFirstKeyColumn) flags |= Qt::ItemIsEditable;
    return flags;
}

bool BalanceTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() < kFirstKeyColumn) return false;
    return WriteCells({index.row()}, index.column(), value.toString());
}

bool BalanceTableModel::WriteCells(const std::vector<int>& rows, int column, const QString& value) {
    const std::string key = KeyAt(column);
    if (key.empty() || rows.empty() || !m_writer) return false;
    const std::string text = FromQt(value.trimmed());
    std::vector<platform::ProfileWrite> writes;
    for (const int row : rows) {
        if (row < 0 || row >= rowCount()) continue;
        writes.push_back({m_table.sections[static_cast<std::size_t>(row)], key, text});
    }
    if (writes.empty()) return false;
    const std::string description = writes.size() == 1
                                        ? "Table " + writes.front().section + " " + key
                                        : "Table " + key + " in " + std::to_string(writes.size()) + " sections";
    return m_writer(description, writes);
}

QStringList BalanceTableModel::Choices(int column) const {
    if (m_group == nullptr) return {};
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const gameview::SectionKind* kind = keys.Kind(m_group->kind);
    const gameview::GameKey* key = kind == nullptr ? nullptr : gameview::GameKeys::FindKey(*kind, KeyAt(column));
    if (key == nullptr) return {};
    QStringList choices;
    switch (key->reading) {
        case gameview::Reading::Bool:
            return {QStringLiteral("yes"), QStringLiteral("no")};
        case gameview::Reading::Weapon:
            choices << QStringLiteral("none");
            [[fallthrough]];
        case gameview::Reading::Armor:
        case gameview::Reading::Warhead:
        case gameview::Reading::Projectile:
            for (const std::string& name : keys.Names(key->reading)) choices << ToQt(name);
            return choices;
        default:
            return {};
    }
}

}  // namespace morvane::app
