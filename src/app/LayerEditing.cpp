#include "app/LayerEditing.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "app/FileSession.h"
#include "app/FindingMarks.h"
#include "app/GameLayersMenu.h"
#include "common/TextOps.h"
#include "gamesetup/GameLayerFiles.h"
#include "gameview/GameKeys.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "schema/CatalogueWalks.h"
#include "tree/TreePath.h"

using morvane::guicommon::FromQt;
using morvane::guicommon::PathFromQt;
using morvane::guicommon::PathToQt;
using morvane::guicommon::ToQt;

namespace morvane::app {
namespace {

using gameview::Layer;

const QString kCaption = QStringLiteral("Morvane");
const QString kLayerFilter = QStringLiteral("Layers, scenarios and maps (*.ini *.INI *.mpr *.MPR);;All Files (*)");
constexpr std::string_view kRulesFileName = "RULES.INI";

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

QString FileNameText(const std::string& path) { return PathToQt(FileNameOf(path)); }

// "the scenario", "AFTRMATH.INI": how the sentences name the edited layer.
QString LayerNoun(Layer layer) {
    switch (layer) {
        case Layer::Aftermath:
            return QStringLiteral("the Aftermath rules");
        case Layer::Mplayer:
            return QStringLiteral("the multiplayer rules");
        default:
            return QStringLiteral("a scenario");
    }
}

// Copies the items `keep` marks, children in their order, into `to`.
void CopyKept(const Tree& from, TreeItem parent, TreeItem toParent, const std::vector<char>& keep, Tree& to) {
    for (std::size_t i = 0; i < from.ChildCount(parent); ++i) {
        const TreeItem item = from.ChildAt(parent, i);
        if (!keep[item]) continue;
        const TreeItem copied =
            from.IsKeyItem(item)
                ? to.InsertKeyItem(from.GetItemKey(item), from.GetItemValue(item), from.GetItemImage(item),
                                   from.GetItemSelectedImage(item), from.GetItemData(item), toParent)
                : to.InsertItem(from.GetItemText(item), from.GetItemImage(item), from.GetItemSelectedImage(item),
                                from.GetItemData(item), toParent);
        CopyKept(from, item, copied, keep, to);
    }
}

}  // namespace

LayerEditing::LayerEditing(const FindingMarks& marks, Tree& tree, ItemFileAccess& items, FileSession& session,
                           const GameLayersMenu& menu, guicommon::UserPrompts& prompts, Window window)
    : QObject(window.widget),
      m_marks(marks),
      m_tree(tree),
      m_items(items),
      m_session(session),
      m_menu(menu),
      m_prompts(prompts),
      m_window(std::move(window)) {}

Layer LayerEditing::LayerOfFile(const std::string& path) {
    const std::string name = ToLowerAscii(FileNameOf(path));
    if (name == ToLowerAscii(gamesetup::kAftermathFileName)) return Layer::Aftermath;
    if (name == ToLowerAscii(gamesetup::kMplayerFileName)) return Layer::Mplayer;
    return Layer::Scenario;
}

void LayerEditing::Set(std::optional<EditedLayer> layer) {
    m_current = std::move(layer);
    if (m_statusLabel != nullptr) m_statusLabel->setVisible(Active());
}

gamesetup::LayerChoice LayerEditing::Choice(const std::string& openPath) const {
    gamesetup::LayerChoice choice = m_menu.Choice(RulesOf(openPath));
    if (!m_current) return choice;
    using Kind = gamesetup::LayerSource::Kind;
    switch (m_current->layer) {
        case Layer::Aftermath:
            choice.aftermath = {Kind::Given, openPath};
            break;
        case Layer::Mplayer:
            choice.mplayer = {Kind::Given, openPath};
            if (choice.mode == gameview::GameMode::Campaign) choice.mode = gameview::GameMode::Skirmish;
            if (choice.aftermath.kind == Kind::Off) choice.aftermath.kind = Kind::Beside;
            break;
        default:
            choice.scenario = openPath;
            break;
    }
    return choice;
}

bool LayerEditing::Offers(std::string_view section) const {
    if (!m_current) return true;
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const gameview::SectionKind* kind = keys.KindOfSection(section);
    if (kind == nullptr)
        if (const std::string* spelled = keys.SectionNoCase(section)) kind = keys.KindOfSection(*spelled);
    // A section the game's table does not know is the modder's business: it stays.
    return kind == nullptr || gameview::LayerStack::Reads(m_current->layer, *kind);
}

void LayerEditing::KeepOfferedSections(Tree& tree, const StringTable& table) const {
    if (!m_current) return;
    // Items come after their parents: one pass down drops a section with its keys, one pass up
    // drops a heading left without children (the difficulty settings, say).
    std::vector<char> keep(tree.ItemCount() + 1, 1);
    bool dropped = false;
    for (TreeItem item = 1; item <= tree.ItemCount(); ++item) {
        const TreeItem parent = tree.GetParentItem(item);
        const TreeItemData data = tree.GetItemData(item);
        const bool section = !tree.IsKeyItem(item) && data.nameId != 0;
        keep[item] = keep[parent] && !(section && !Offers(SectionNameOfEntry(table.Text(data.nameId))));
        dropped = dropped || !keep[item];
    }
    if (!dropped) return;
    for (TreeItem item = tree.ItemCount(); item >= 1; --item) {
        if (!keep[item] || tree.IsKeyItem(item) || !tree.ItemHasChildren(item)) continue;
        bool anyChild = false;
        for (std::size_t i = 0; i < tree.ChildCount(item) && !anyChild; ++i) anyChild = keep[tree.ChildAt(item, i)];
        keep[item] = anyChild;
    }
    Tree kept;
    CopyKept(tree, kRoot, kRoot, keep, kept);
    tree.DeleteAllItems();
    std::vector<char> all(kept.ItemCount() + 1, 1);
    CopyKept(kept, kRoot, kRoot, all, tree);
}

std::optional<InheritedValue> LayerEditing::Inherited(TreeItem item) const {
    if (!m_current || item == kNoItem || !m_tree.IsKeyItem(item) || m_tree.GetItemValue(item)) return std::nullopt;
    const auto resolution = m_marks.Resolution(item, m_current->layer);
    if (!resolution) return std::nullopt;
    const gameview::LayerValue& own = resolution->At(m_current->layer);
    if (own.action == gameview::LayerAction::Resets)
        return InheritedValue{ToQt(own.text),
                              QStringLiteral("Not in this file, whose [%1] section (line %2) turns it into %3")
                                  .arg(ToQt(resolution->section))
                                  .arg(own.line)
                                  .arg(ToQt(own.text))};
    if (resolution->winner == Layer::BuiltIn) return std::nullopt;
    const gameview::LayerValue& winner = resolution->At(resolution->winner);
    if (winner.layer == Layer::Forced)
        return InheritedValue{ToQt(winner.text), QStringLiteral("Inherited: set by the game in skirmish and "
                                                                "multiplayer games")};
    return InheritedValue{ToQt(winner.text),
                          QStringLiteral("Inherited from %1, line %2").arg(FileNameText(winner.file)).arg(winner.line)};
}

std::optional<std::string> LayerEditing::ValueBeneath(TreeItem item) const {
    const std::optional<InheritedValue> inherited = Inherited(item);
    if (!inherited) return std::nullopt;
    return FromQt(inherited->value);
}

QString LayerEditing::Title(const std::string& openPath) const {
    if (!m_current) return PathToQt(openPath);
    return QStringLiteral("%1, %2 over %3")
        .arg(FileNameText(openPath), LayerNoun(m_current->layer), FileNameText(m_current->rules));
}

QString LayerEditing::Description(const std::string& openPath) const {
    if (!m_current) return QString();
    QString text = QStringLiteral(
                       "Editing %1 as %2 over the rules file %3. Greyed values come from the files beneath; "
                       "opening a rules file ends the layer editing.")
                       .arg(PathToQt(openPath), LayerNoun(m_current->layer), PathToQt(m_current->rules));
    if (m_current->layer == Layer::Mplayer && m_menu.Choice(m_current->rules).mode == gameview::GameMode::Campaign)
        text += QStringLiteral(
            " The game reads MPLAYER.INI only in skirmish and multiplayer games with Aftermath "
            "rules: the window shows it as in a skirmish game.");
    return text;
}

QLabel* LayerEditing::StatusLabel(QWidget* parent) {
    if (m_statusLabel == nullptr) {
        m_statusLabel = new QLabel(parent);
        m_statusLabel->setObjectName(QStringLiteral("layerEdited"));
        m_statusLabel->setVisible(Active());
    }
    return m_statusLabel;
}

QWidget* LayerEditing::BuildRow(QWidget* parent) {
    m_row = new QWidget(parent);
    auto* layout = new QHBoxLayout(m_row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_open = new QPushButton(m_row);
    m_open->setObjectName(QStringLiteral("openDecidingFile"));
    m_inherit = new QPushButton(QStringLiteral("&Inherit"), m_row);
    m_inherit->setObjectName(QStringLiteral("inherit"));
    layout->addWidget(m_open);
    layout->addWidget(m_inherit);
    layout->addStretch(1);
    connect(m_open, &QPushButton::clicked, this, [this] {
        if (m_decider) OpenDecidingFile(m_decider->layer, m_decider->file);
    });
    connect(m_inherit, &QPushButton::clicked, this, &LayerEditing::OnInherit);
    m_row->hide();
    return m_row;
}

void LayerEditing::ShowFor(TreeItem item, const std::string& openPath) {
    if (m_row == nullptr) return;
    if (m_statusLabel != nullptr && m_current) m_statusLabel->setText(QStringLiteral("Layer: ") + Title(openPath));
    const bool key = item != kNoItem && m_tree.IsKeyItem(item);
    m_decider = key ? m_marks.Decider(item) : std::nullopt;
    if (m_decider && !gameview::IsFileLayer(m_decider->layer)) m_decider.reset();
    if (m_decider) {
        const QString name = FileNameText(m_decider->file);
        m_open->setText(QStringLiteral("O&pen ") + QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
        m_open->setToolTip(
            QStringLiteral("Open %1 at this key: the game plays its value").arg(PathToQt(m_decider->file)));
        m_open->setAccessibleName(QStringLiteral("Open ") + name);
    }
    const bool showInherit = key && Active();
    m_open->setVisible(m_decider.has_value());
    m_inherit->setVisible(showInherit);
    const bool own = key && m_tree.GetItemValue(item).has_value();
    m_inherit->setEnabled(own);
    if (showInherit)
        m_inherit->setToolTip(
            own ? QStringLiteral("Take %1 out of %2: the game then plays the value of the files "
                                 "beneath")
                      .arg(ToQt(m_tree.GetItemKey(item)), FileNameText(openPath))
                : QStringLiteral("%1 does not set this key: it inherits it already").arg(FileNameText(openPath)));
    m_row->setVisible(m_decider.has_value() || showInherit);
}

void LayerEditing::OnOpenLayer() {
    if (!m_window.confirmPendingEdit()) return;
    const std::string open = m_window.openPath();
    const QString folder = open.empty() ? QString() : QFileInfo(PathToQt(open)).absolutePath();
    const QString chosen =
        m_prompts.ChooseOpenFile(m_window.widget, QStringLiteral("Open Layer"), folder, kLayerFilter);
    if (!chosen.isEmpty()) OpenLayer(PathFromQt(chosen));
}

bool LayerEditing::OpenLayer(const std::string& path) {
    const std::string open = m_window.openPath();
    // The rules file beneath: the one open (or beneath the layer open), else RULES.INI beside the
    // layer.
    std::string rules = open.empty() ? std::string() : RulesOf(open);
    if (rules.empty()) rules = gamesetup::FindBesideRules(path, kRulesFileName).value_or(std::string());
    if (rules.empty()) {
        m_prompts.ShowMessage(m_window.widget,
                              QStringLiteral("%1\nis edited as a layer over a rules file, and none is open or beside "
                                             "it.\n\nOpen the rules file first, then open the layer.")
                                  .arg(PathToQt(path)),
                              kCaption, QMessageBox::Warning);
        return false;
    }
    // The rules file itself is no layer over itself: it is opened as what it is.
    if (platform::IsSameFile(path, rules)) return m_window.openFile(rules, std::nullopt);
    return m_window.openFile(path, EditedLayer{LayerOfFile(path), rules});
}

void LayerEditing::OpenDecidingFile(Layer layer, const std::string& path) {
    const TreeItem shown = m_window.shownItem();
    const std::string itemPath = shown != kNoItem ? PathOfItem(m_tree, shown) : std::string();
    if (!m_window.confirmPendingEdit()) return;
    const std::string rules = RulesOf(m_window.openPath());
    const bool opened = layer == Layer::Rules || platform::IsSameFile(path, rules)
                            ? m_window.openFile(path, std::nullopt)
                            : m_window.openFile(path, EditedLayer{layer, rules});
    if (!opened) return;
    // The same key in the file opened (a section that layer cannot change is not there).
    if (const TreeItem again = FindItemByPath(m_tree, itemPath); again != kNoItem) m_window.selectItem(again);
}

void LayerEditing::OnInherit() {
    const TreeItem item = m_window.shownItem();
    if (!Active() || item == kNoItem || !m_tree.GetItemValue(item)) return;
    if (!m_session.PrepareWrite()) return;
    // A read of the file just now may have taken the key out already.
    if (!m_tree.GetItemValue(item)) {
        m_session.EndWrite();
        return;
    }
    m_window.recordWrite("Inherit", [this, item] {
        std::optional<std::string> before(m_tree.GetItemValue(item));
        m_tree.SetItemValue(item, std::nullopt);
        if (m_items.WriteItemValue(item) == 0) return true;
        m_tree.SetItemValue(item, std::move(before));
        return false;
    });
    m_session.FileWritten();
    m_window.showShownAgain();
    if (!m_tree.GetItemValue(item)) {
        const QString file = QFileInfo(PathToQt(m_window.openPath())).fileName();
        m_window.showStatus(QStringLiteral("Took %1 out of %2: it inherits the value of the files beneath.")
                                .arg(ToQt(m_tree.GetItemKey(item)), file));
    }
}

}  // namespace morvane::app
