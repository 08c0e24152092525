#include "dialogs/CSetDirectoryDlg.h"

#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/TextOps.h"
#include "guicommon/Artwork.h"
#include "guicommon/FileNames.h"
#include "platform/Drives.h"
#include "platform/FolderListing.h"

namespace morvane::dialogs {
namespace {

// Image indices of the picker's pictures.
constexpr int kDriveImage = 0;
constexpr int kRemovableImage = 1;
constexpr int kCdRomImage = 2;
constexpr int kFolderImage = 3;
constexpr int kOpenFolderImage = 4;

bool g_firstOpening = true;

QIcon FolderIcon(int image, int selectedImage) {
    QIcon icon(art::FolderPickerImage(image));
    icon.addPixmap(art::FolderPickerImage(selectedImage), QIcon::Selected);
    return icon;
}

// An empty child that only gives its parent an expand button.
void AddPlaceholder(QTreeWidgetItem* parent) {
    auto* placeholder = new QTreeWidgetItem(parent);
    placeholder->setIcon(0, FolderIcon(kFolderImage, kFolderImage));
}

}  // namespace

void CSetDirectoryDlg::ResetFirstOpening() { g_firstOpening = true; }

CSetDirectoryDlg::CSetDirectoryDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Set Directory"));
    auto* layout = new QGridLayout(this);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("control1053"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("control1054"));
    m_tree->header()->hide();
    m_tree->setRootIsDecorated(true);
    m_tree->setMinimumSize(280, 320);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    layout->addWidget(m_label, 0, 0, 1, 2);
    layout->addWidget(m_tree, 1, 0);
    layout->addLayout(buttons, 1, 1);
    connect(ok, &QPushButton::clicked, this, &CSetDirectoryDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &CSetDirectoryDlg::OnItemExpanding);
    connect(m_tree, &QTreeWidget::itemCollapsed, this, &CSetDirectoryDlg::OnItemCollapsing);
    // Follows the selection, not the current item: the view makes its first row current when
    // it gets the focus, which is no choice of the user's.
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
        if (!selected.isEmpty()) OnSelChangedFolder(selected.front());
    });

    for (const platform::Drive& drive : platform::ListDrives()) AddDrive(drive.rootPath, static_cast<int>(drive.type));
}

void CSetDirectoryDlg::AddDrive(const std::string& rootPath, int type) {
    const auto kind = static_cast<platform::DriveType>(type);
    const int image = kind == platform::DriveType::Removable ? kRemovableImage
                      : kind == platform::DriveType::CdRom   ? kCdRomImage
                                                             : kDriveImage;
    auto* item = new QTreeWidgetItem(m_tree);
    item->setText(0, guicommon::PathToQt(rootPath));
    item->setIcon(0, FolderIcon(image, image));
    if (kind == platform::DriveType::Removable || kind == platform::DriveType::CdRom) {
        // Media drives are not read until opened: a drive without a disk must not slow us down.
        AddPlaceholder(item);
        return;
    }
    HasSubFolders(item, rootPath);
    if (kind == platform::DriveType::Fixed && g_firstOpening) {
        g_firstOpening = false;
        m_tree->setCurrentItem(item);
        item->setExpanded(true);
    }
}

bool CSetDirectoryDlg::HasSubFolders(QTreeWidgetItem* item, const std::string& path) {
    if (!platform::HasSubFolder(path)) return false;
    AddPlaceholder(item);
    return true;
}

int CSetDirectoryDlg::FillSubFolders(QTreeWidgetItem* item, const std::string& path) {
    auto folders = platform::ListSubFolders(path);
    if (!folders) {
        if (item->parent() == nullptr) AddPlaceholder(item);  // a drive keeps its expand button
        return 0;
    }
    std::stable_sort(folders->begin(), folders->end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    for (const std::string& name : *folders) {
        auto* child = new QTreeWidgetItem(item);
        child->setText(0, guicommon::PathToQt(name));
        child->setIcon(0, FolderIcon(kFolderImage, kOpenFolderImage));
        HasSubFolders(child, platform::JoinPath(path, name));
    }
    return static_cast<int>(folders->size());
}

std::string CSetDirectoryDlg::GetFolderPath(QTreeWidgetItem* item) const {
    std::string path = guicommon::PathFromQt(item->text(0));
    for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent())
        path = platform::JoinPath(guicommon::PathFromQt(parent->text(0)), path);
    return path;
}

void CSetDirectoryDlg::OnItemExpanding(QTreeWidgetItem* item) {
    const QSignalBlocker blocker(m_tree);
    delete item->takeChild(0);
    if (FillSubFolders(item, GetFolderPath(item)) == 0) item->setExpanded(false);
}

void CSetDirectoryDlg::OnItemCollapsing(QTreeWidgetItem* item) {
    const QSignalBlocker blocker(m_tree);
    qDeleteAll(item->takeChildren());
    if (item->parent() != nullptr)
        HasSubFolders(item, GetFolderPath(item));
    else
        AddPlaceholder(item);
}

void CSetDirectoryDlg::OnSelChangedFolder(QTreeWidgetItem* item) {
    if (item == nullptr) return;
    m_strDirectory = GetFolderPath(item);
    m_label->setText(guicommon::PathToQt(m_strDirectory));
}

bool CSetDirectoryDlg::OpenAt(const std::string& folder) {
    const QString wanted = QDir::cleanPath(guicommon::PathToQt(folder));
    const auto sameName = [](const QString& a, const QString& b) {
#ifdef _WIN32
        return a.compare(b, Qt::CaseInsensitive) == 0;
#else
        return a == b;
#endif
    };
    // The drive whose root begins the path (the longest, should one root hold another).
    QTreeWidgetItem* found = nullptr;
    QString rest;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* drive = m_tree->topLevelItem(i);
        const QString root = QDir::cleanPath(drive->text(0));
        const QString head = wanted.left(root.size());
        if (!sameName(head, root) || (found != nullptr && root.size() <= found->text(0).size())) continue;
        if (wanted.size() > root.size() && !root.endsWith(QLatin1Char('/')) && wanted[root.size()] != QLatin1Char('/'))
            continue;
        found = drive;
        rest = wanted.mid(root.size());
    }
    if (found == nullptr) return false;
    QTreeWidgetItem* item = found;
    for (const QString& name : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && next == nullptr; ++i)
            if (sameName(item->child(i)->text(0), name)) next = item->child(i);
        if (next == nullptr) break;
        item = next;
    }
    m_tree->setCurrentItem(item);
    item->setSelected(true);
    m_tree->scrollToItem(item);
    return true;
}

void CSetDirectoryDlg::accept() {
    m_strDirectory = guicommon::PathFromQt(m_label->text());
    QDialog::accept();
}

}  // namespace morvane::dialogs
