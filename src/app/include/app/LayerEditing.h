#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/RulesTreeModel.h"
#include "gamesetup/GameLayerFiles.h"
#include "gameview/GameLayers.h"
#include "schema/StringTable.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

class QLabel;
class QPushButton;
class QWidget;

namespace morvane::guicommon {
class UserPrompts;
}  // namespace morvane::guicommon

namespace morvane::app {

class FileSession;
class FindingMarks;
class GameLayersMenu;

// A file the game reads on top of the rules file, open in the window in place of it.
struct EditedLayer {
    gameview::Layer layer = gameview::Layer::Scenario;
    std::string rules;  // the rules file beneath it
};

// Editing one of the game's other files (AFTRMATH.INI, MPLAYER.INI, a scenario or a map) as a
// layer over the rules file: which layer it is and over which rules file, the sections that
// layer can change, the values it inherits, and the editor's row with "Open" (the file that
// decides the shown key) and "Inherit" (take the key out of the layer). It runs File > Open
// Layer… and both buttons.
class LayerEditing : public QObject {
    Q_OBJECT
public:
    // What the layer editing asks of the window it lives in.
    struct Window {
        QWidget* widget = nullptr;            // the parent of the prompts
        std::function<TreeItem()> shownItem;  // the item the editor shows
        std::function<std::string()> openPath;
        // Asks about an edit not applied yet; false when the user stays with it.
        std::function<bool()> confirmPendingEdit;
        // Opens `path` as the rules file (no layer) or as a layer over one; false, with the
        // reason shown, when it cannot.
        std::function<bool(const std::string& path, const std::optional<EditedLayer>& layer)> openFile;
        std::function<void(TreeItem)> selectItem;  // as a click in the tree would
        // Runs one write of the file, between the session's PrepareWrite and FileWritten, as
        // an undoable step.
        std::function<void(const std::string& description, const std::function<bool()>& write)> recordWrite;
        std::function<void()> showShownAgain;  // the controls follow the shown item's value
        std::function<void(const QString&)> showStatus;
    };

    LayerEditing(const FindingMarks& marks, Tree& tree, ItemFileAccess& items, FileSession& session,
                 const GameLayersMenu& menu, guicommon::UserPrompts& prompts, Window window);

    // Which layer a file is by its name: AFTRMATH.INI, MPLAYER.INI (any letter case), else a
    // scenario.
    static gameview::Layer LayerOfFile(const std::string& path);

    // The layer the window edits from now on; nothing: the rules file.
    void Set(std::optional<EditedLayer> layer);
    const std::optional<EditedLayer>& Current() const { return m_current; }
    bool Active() const { return m_current.has_value(); }
    gameview::Layer Edited() const { return m_current ? m_current->layer : gameview::Layer::Rules; }
    // The rules file of the game: the one beneath the layer, or the open file itself.
    const std::string& RulesOf(const std::string& openPath) const { return m_current ? m_current->rules : openPath; }

    // The game's files for the window's check when it edits the file at `openPath`: the Game
    // menu's choice, with the edited layer's file in its place. MPLAYER.INI is read only in
    // skirmish and multiplayer games with Aftermath rules, so it is checked as in such a game.
    gamesetup::LayerChoice Choice(const std::string& openPath) const;

    // Whether the edited layer can change the section (the game reads it from that file).
    bool Offers(std::string_view section) const;
    // Takes the sections the edited layer cannot change out of a freshly built tree.
    void KeepOfferedSections(Tree& tree, const StringTable& table) const;
    // The value the tree shows greyed for a key the edited layer does not set; nothing when the
    // game takes its built-in value (or no layer is edited).
    std::optional<InheritedValue> Inherited(TreeItem item) const;
    // The same value as the file would hold it: what the editor's controls start from.
    std::optional<std::string> ValueBeneath(TreeItem item) const;

    // "harbour.mpr, a scenario over RULES.INI"; the status sentence on opening; the permanent
    // label of the status bar.
    QString Title(const std::string& openPath) const;
    QString Description(const std::string& openPath) const;
    QLabel* StatusLabel(QWidget* parent);

    // The buttons beneath the "game reads" lines; ShowFor follows the shown key.
    QWidget* BuildRow(QWidget* parent);
    void ShowFor(TreeItem item, const std::string& openPath);
    QPushButton* OpenButton() const { return m_open; }
    QPushButton* InheritButton() const { return m_inherit; }

    // File > Open Layer…: asks for the file, then opens it as a layer.
    void OnOpenLayer();
    // Opens `path` as a layer over the rules file open (or over RULES.INI beside it); false,
    // with the reason shown, when it cannot.
    bool OpenLayer(const std::string& path);
    // Takes the shown key out of the edited layer: it inherits the value of the files beneath.
    void OnInherit();

private:
    // Opens the file that decides the shown key at that key: as the rules file, or as a layer
    // over the rules file of the game.
    void OpenDecidingFile(gameview::Layer layer, const std::string& path);

    const FindingMarks& m_marks;
    Tree& m_tree;
    ItemFileAccess& m_items;
    FileSession& m_session;
    const GameLayersMenu& m_menu;
    guicommon::UserPrompts& m_prompts;
    Window m_window;
    std::optional<EditedLayer> m_current;
    QLabel* m_statusLabel = nullptr;
    QWidget* m_row = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_inherit = nullptr;
    std::optional<gameview::LayerValue> m_decider;  // the file the Open button opens
};

}  // namespace morvane::app
