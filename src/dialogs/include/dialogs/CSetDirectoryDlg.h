#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace morvane::dialogs {

// "Set Directory": a tree of the machine's drives and folders to choose a folder from. Folders
// are read only when their parent is opened and forgotten when it is closed.
class CSetDirectoryDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSetDirectoryDlg(QWidget* parent = nullptr);

    // The chosen path (empty until a folder is selected).
    std::string m_strDirectory;

    QTreeWidget* FolderTree() const { return m_tree; }
    QLabel* PathLabel() const { return m_label; }
    std::string GetFolderPath(QTreeWidgetItem* item) const;

    // Opens the branches down to `folder` and selects it, as far as the folders exist; false when
    // no drive holds it.
    bool OpenAt(const std::string& folder);

    // The first opening in a run selects and opens the first fixed drive; tests reset this.
    static void ResetFirstOpening();

    void accept() override;

private:
    void AddDrive(const std::string& rootPath, int type);
    bool HasSubFolders(QTreeWidgetItem* item, const std::string& path);
    int FillSubFolders(QTreeWidgetItem* item, const std::string& path);
    void OnItemExpanding(QTreeWidgetItem* item);
    void OnItemCollapsing(QTreeWidgetItem* item);
    void OnSelChangedFolder(QTreeWidgetItem* item);

    QTreeWidget* m_tree = nullptr;
    QLabel* m_label = nullptr;
};

}  // namespace morvane::dialogs
