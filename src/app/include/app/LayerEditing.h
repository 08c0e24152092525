#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "app/RulesTreeModel.h"
#include "gamesetup/GameLayerFiles.h"
#include "gameview/GameLayers.h"
#include "schema/StringTable.h"
#include "tree/Tree.h"

class QLabel;
class QPushButton;
class QWidget;

namespace morvane::app {

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
// decides the shown key) and "Inherit" (take the key out of the layer).
class LayerEditing : public QObject {
    Q_OBJECT
public:
    LayerEditing(const FindingMarks& marks, const Tree& tree, const GameLayersMenu& menu, QObject* parent = nullptr);

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

signals:
    // Open the file that decides the shown key (the rules file itself when `layer` is Rules).
    void OpenRequested(gameview::Layer layer, const std::string& path);
    // Take the shown key out of the edited layer.
    void InheritRequested();

private:
    const FindingMarks& m_marks;
    const Tree& m_tree;
    const GameLayersMenu& m_menu;
    std::optional<EditedLayer> m_current;
    QLabel* m_statusLabel = nullptr;
    QWidget* m_row = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_inherit = nullptr;
    std::optional<gameview::LayerValue> m_decider;  // the file the Open button opens
};

}  // namespace morvane::app
