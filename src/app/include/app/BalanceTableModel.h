#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gameview/ObjectTable.h"
#include "gameview/PlayedValues.h"
#include "platform/ProfileApi.h"

namespace morvane::app {

// One group of the game's objects side by side: a row per object, the section and the name,
// then a column per key with the value the game plays. Cells that differ from the game's
// built-in value are bold; cells with a finding of the game's check are tinted and say why.
class BalanceTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Writes values as one undoable step; false when nothing was written.
    using Writer = std::function<bool(const std::string& description, const std::vector<platform::ProfileWrite>&)>;
    static constexpr int kFirstKeyColumn = 2;
    static constexpr int kSortRole = Qt::UserRole + 1;  // numbers sort as numbers

    BalanceTableModel(std::map<std::string, std::string> labels, Writer writer, QObject* parent = nullptr);

    // Shows `group` with `keys` (the game's spelling) as the game plays them from `layers`.
    void Show(const gameview::TableGroup& group, const std::vector<std::string>& keys,
              const gameview::LayerStack& layers);
    const gameview::TableGroup* Group() const { return m_group; }
    const std::vector<std::string>& Keys() const { return m_table.keys; }
    std::string SectionAt(int row) const { return m_table.sections.at(static_cast<std::size_t>(row)); }
    std::string KeyAt(int column) const;
    // The value written into the file for an edit (as typed: "heavy", "120mm", "25%"...).
    bool WriteCells(const std::vector<int>& rows, int column, const QString& value);
    // The names a key's value may take (armours, weapons, warheads...), empty for free text.
    QStringList Choices(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QString CellText(int row, int column) const;

    std::map<std::string, std::string> m_labels;  // section -> the object's label
    Writer m_writer;
    const gameview::TableGroup* m_group = nullptr;
    gameview::ObjectTable m_table;
    std::vector<std::string> m_builtIn;                                     // per key column
    std::map<std::pair<std::string, std::string>, std::string> m_findings;  // (section, key) -> message
};

}  // namespace morvane::app
