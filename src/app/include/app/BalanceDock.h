#pragma once

#include <QDockWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/BalancePictures.h"
#include "app/BalanceTableModel.h"
#include "schema/StringTable.h"

class QComboBox;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;
class QToolButton;

namespace morvane::guicommon {
class UserPrompts;
}  // namespace morvane::guicommon

namespace morvane::app {

// The table of one group of objects beside the tree: pick the group, the kind of game and the
// columns, sort and filter by any column, edit cells in place (a selection in one column is
// set at once), copy the selection as tab-separated text, export CSV, and look at a weapon's
// damage a minute or the time every attacker takes to kill every target.
class BalanceDock : public QDockWidget {
    Q_OBJECT
public:
    BalanceDock(const StringTable& catalogue, guicommon::UserPrompts& prompts, std::function<std::string()> rulesPath,
                BalanceTableModel::Writer writer, QWidget* parent = nullptr);

    // Reads the rules file again and shows what the game now plays.
    void Refresh();
    // Shows `group` ("vehicles", ...) with its remembered columns.
    void ShowGroup(const QString& group);
    // The columns of the group shown; the set is remembered per group.
    void SetColumns(const QStringList& keys);
    QStringList Columns() const;

    BalanceTableModel* Model() const { return m_model; }
    QSortFilterProxyModel* Proxy() const;
    QTableView* View() const;
    QComboBox* GroupBox() const;
    QLineEdit* FilterEdit() const;

    // The selected cells as tab-separated text, rows and columns as shown.
    QString SelectionText() const;
    // The whole table as shown (sorted and filtered) as CSV.
    QString CsvText() const;
    void CopySelection() const;
    void ExportCsv();
    // The pictures, as the window opens them: the weapon of the current row, and every attacker
    // of the group shown against the objects of a target group.
    std::unique_ptr<BalancePictureDlg> DamageChartDialog();
    std::unique_ptr<BalancePictureDlg> HeatMapDialog();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls are made when the table is first shown or asked for: most windows never
    // show it, and a window starts sooner without them.
    void EnsureBody() const;
    void BuildBody();
    void BuildColumnsMenu();
    // The game's layers as the table shows them: the rules file, the files beside it, the mode.
    gameview::LayerStack Layers() const;

    const StringTable& m_catalogue;
    guicommon::UserPrompts& m_prompts;
    std::function<std::string()> m_rulesPath;
    BalanceTableModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QTableView* m_view = nullptr;
    QComboBox* m_group = nullptr;
    QComboBox* m_mode = nullptr;
    QComboBox* m_filterColumn = nullptr;
    QLineEdit* m_filter = nullptr;
    QToolButton* m_columns = nullptr;
};

}  // namespace morvane::app
