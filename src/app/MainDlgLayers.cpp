// Editing one of the game's other files as a layer over the rules file: File > Open Layer, the
// editor's Inherit, and opening the file that decides the shown key.
#include <QFileInfo>

#include "app/CMainDlg.h"
#include "app/FileSession.h"
#include "app/LayerEditing.h"
#include "editor/WriteSummary.h"
#include "gamesetup/GameLayerFiles.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "tree/TreePath.h"

using morvane::guicommon::PathFromQt;
using morvane::guicommon::PathToQt;
using morvane::guicommon::ToQt;

namespace morvane::app {
namespace {

const QString kCaption = QStringLiteral("Morvane");
const QString kLayerFilter = QStringLiteral("Layers, scenarios and maps (*.ini *.INI *.mpr *.MPR);;All Files (*)");
constexpr std::string_view kRulesFileName = "RULES.INI";

}  // namespace

void CMainDlg::OnOpenLayer() {
    if (!ConfirmPendingEdit()) return;
    const std::string& open = m_paths.rulesPath;
    const QString folder = open.empty() ? QString() : QFileInfo(PathToQt(open)).absolutePath();
    const QString chosen = m_prompts.ChooseOpenFile(this, QStringLiteral("Open Layer"), folder, kLayerFilter);
    if (!chosen.isEmpty()) OpenLayer(PathFromQt(chosen));
}

bool CMainDlg::OpenLayer(const std::string& path) {
    const std::string& open = m_paths.rulesPath;
    // The rules file beneath: the one open (or beneath the layer open), else RULES.INI beside the
    // layer.
    std::string rules = open.empty() ? std::string() : m_layerEditing->RulesOf(open);
    if (rules.empty()) rules = gamesetup::FindBesideRules(path, kRulesFileName).value_or(std::string());
    if (rules.empty()) {
        m_prompts.ShowMessage(this,
                              QStringLiteral("%1\nis edited as a layer over a rules file, and none is open or beside "
                                             "it.\n\nOpen the rules file first, then open the layer.")
                                  .arg(PathToQt(path)),
                              kCaption, QMessageBox::Warning);
        return false;
    }
    // The rules file itself is no layer over itself: it is opened as what it is.
    if (platform::IsSameFile(path, rules)) return OpenRulesFile(rules);
    return OpenFile(path, EditedLayer{LayerEditing::LayerOfFile(path), rules});
}

void CMainDlg::OpenDecidingFile(gameview::Layer layer, const std::string& path) {
    const TreeItem shown = m_editor->m_hCurItem;
    const std::string itemPath = shown != kNoItem ? PathOfItem(m_tree, shown) : std::string();
    if (!ConfirmPendingEdit()) return;
    const std::string rules = m_layerEditing->RulesOf(m_paths.rulesPath);
    const bool opened = layer == gameview::Layer::Rules || platform::IsSameFile(path, rules)
                            ? OpenRulesFile(path)
                            : OpenFile(path, EditedLayer{layer, rules});
    if (!opened) return;
    // The same key in the file opened (a section that layer cannot change is not there).
    if (const TreeItem again = FindItemByPath(m_tree, itemPath); again != kNoItem) SelectItem(again);
}

void CMainDlg::OnInherit() {
    const TreeItem item = m_editor->m_hCurItem;
    if (!m_layerEditing->Active() || item == kNoItem || !m_tree.GetItemValue(item)) return;
    if (!m_session->PrepareWrite()) return;
    // A read of the file just now may have taken the key out already.
    if (!m_tree.GetItemValue(item)) {
        m_session->EndWrite();
        return;
    }
    RecordWrite("Inherit", [this, item] {
        std::optional<std::string> before = m_tree.GetItemValue(item);
        m_tree.SetItemValue(item, std::nullopt);
        if (m_items.WriteItemValue(item) == 0) return true;
        m_tree.SetItemValue(item, std::move(before));
        return false;
    });
    m_session->FileWritten();
    ShowCurrentItemAgain();
    if (!m_tree.GetItemValue(item)) {
        const QString file = QFileInfo(PathToQt(m_paths.rulesPath)).fileName();
        ShowStatus(QStringLiteral("Took %1 out of %2: it inherits the value of the files beneath.")
                       .arg(ToQt(m_tree.GetItemKey(item)), file));
    }
}

}  // namespace morvane::app
